#!/usr/bin/env python3
"""Checks that each translation file kept in the tree is complete and current.

lupdate is run over the sources (as the update_translations target runs it)
into a copy of each .ts file; the copy must then hold no entry that is new
(left unfinished), no entry that is gone from the sources (vanished), and no
unfinished translation. Every translation must also keep what the program
relies on: the same %1/%n placeholders, an accelerator exactly where the
English has one, the same number of '|' in file filters, the spaces a suffix
begins with and the "..." of an item that opens a dialog.

usage: check_translations.py LUPDATE SOURCES.lst [LUPDATE OPTION...] -- FILE.ts...
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

PLACEHOLDER = re.compile(r'%L?(?:\d{1,2}|n)')


def accelerators(text):
    # An accelerator is an '&' before a character; "&&" is a plain '&'.
    return len(re.findall(r'&\S', text.replace('&&', '')))


def shape_problems(source, translation):
    problems = []
    if sorted(PLACEHOLDER.findall(source)) != sorted(PLACEHOLDER.findall(translation)):
        problems.append('placeholders differ')
    if accelerators(translation) != accelerators(source):
        problems.append('accelerators differ')
    if source.count('|') != translation.count('|'):
        problems.append("the '|' of the filter differ")
    if source.startswith(' ') != translation.startswith(' '):
        problems.append('the leading space differs')
    if source.endswith('...') != translation.endswith('...'):
        problems.append('the "..." differs')
    return problems


def check(path):
    """The problems of one .ts file, as lines, and the number of entries."""
    problems = []
    entries = 0
    root = ET.parse(path).getroot()
    for context in root.iter('context'):
        name = context.findtext('name')
        for message in context.iter('message'):
            source = message.findtext('source') or ''
            where = '%s: "%s"' % (name, source)
            translation = message.find('translation')
            kind = translation.get('type') if translation is not None else 'unfinished'
            if kind in ('vanished', 'obsolete'):
                problems.append('%s is no longer in the sources' % where)
                continue
            entries += 1
            if kind == 'unfinished':
                problems.append('%s is not translated' % where)
                continue
            if message.get('numerus') == 'yes':
                forms = [form.text or '' for form in translation.iter('numerusform')]
            else:
                forms = [translation.text or '']
            for form in forms:
                if not form:
                    problems.append('%s has an empty translation' % where)
                    continue
                # The English of a counted text says "%n image(s)".
                for problem in shape_problems(source.replace('(s)', ''), form):
                    problems.append('%s -> "%s": %s' % (where, form, problem))
    return problems, entries


def main(argv):
    if '--' not in argv or len(argv) < 5:
        sys.exit(__doc__)
    split = argv.index('--')
    lupdate, sources, options = argv[1], argv[2], argv[3:split]
    failed = False
    with tempfile.TemporaryDirectory() as work:
        for ts in argv[split + 1:]:
            copy = os.path.join(work, os.path.basename(ts))
            shutil.copyfile(ts, copy)
            run = subprocess.run([lupdate, *options, '@' + sources, '-ts', copy],
                                 capture_output=True, text=True)
            if run.returncode != 0:
                print(run.stdout + run.stderr)
                print('FAIL %s: lupdate failed' % ts)
                failed = True
                continue
            problems, entries = check(copy)
            for problem in problems:
                print('%s: %s' % (os.path.basename(ts), problem))
            if problems:
                print('FAIL %s: %d problems; build the update_translations target and translate what it adds'
                      % (ts, len(problems)))
                failed = True
            else:
                print('%s: %d entries, all translated and current' % (os.path.basename(ts), entries))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
