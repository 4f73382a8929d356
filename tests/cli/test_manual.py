"""The manual pages: tilemont-cli(1) describes every command and option the
tool's own usage text lists, and both pages format without a warning where
groff is installed."""

import os
import re
import shutil
import subprocess

from clitest import Suite, expect, expect_equal

suite = Suite()
cli = suite.cli
MAN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src", "resources", "man")


def page(name):
    """The page's text with roff's escaped hyphens plain."""
    with open(os.path.join(MAN, name), encoding="utf-8") as f:
        return f.read().replace("\\-", "-")


@suite.case
def every_command_and_option_of_the_usage_is_in_the_manual():
    res = cli.run()
    expect_equal(res.code, 2, "exit status of a bare call")
    commands = re.findall(r"tilemont-cli ([a-z-]+)", res.err)
    options = sorted(set(re.findall(r"--[a-z][a-z-]*", res.err)))
    expect(len(commands) >= 10 and "thumbnail" in commands, "usage lists %r" % commands)
    text = page("tilemont-cli.1")
    synopsis = text.split(".SH DESCRIPTION")[0]
    described = text.split(".SH COMMANDS")[1]
    missing = [c for c in commands if not re.search(r"^\.B tilemont-cli %s\b" % re.escape(c), synopsis, re.M)]
    missing += ["%s (described)" % c for c in commands
                if not re.search(r"^\.B[IR]* %s\b" % re.escape(c), described, re.M)]
    missing += [o for o in options if o not in described and o != "--version"]
    expect(not missing, "not in the manual: %s" % missing)


@suite.case
def the_built_pages_name_the_programs_version():
    res = cli.run("--version")
    expect_equal(res.code, 0, "tilemont-cli --version")
    version = re.search(r"(\d+\.\d+(?:\.\d+)*)", res.out + res.err)
    expect(version, "no version in %r" % (res.out + res.err))
    # The tool lies in <build>/src/cli; the pages in <build>/src/resources/man.
    built = os.path.join(os.path.dirname(cli.exe), "..", "resources", "man")
    for name in ("tilemont.1", "tilemont-cli.1"):
        with open(os.path.join(built, name), encoding="utf-8") as f:
            title = f.readline()
        expect('"Tilemont %s"' % version.group(1) in title, "%s: %r" % (name, title))
        expect("@" not in title, "%s still holds a placeholder: %r" % (name, title))


@suite.case
def both_pages_format_cleanly():
    if not shutil.which("groff"):
        print("     (groff is not installed: formatting not checked)")
        return
    for name in ("tilemont.1", "tilemont-cli.1"):
        proc = subprocess.run(["groff", "-man", "-Tutf8", "-ww", "-z", os.path.join(MAN, name)],
                              capture_output=True, timeout=60)
        expect(proc.returncode == 0 and not proc.stderr, "%s: %r" % (name, proc.stderr[:500]))


suite.finish()
