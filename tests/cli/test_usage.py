"""Command-line usage errors exit with status 2 and touch no file."""

import os
import re
import subprocess

from clitest import Suite, expect, expect_equal

suite = Suite()
cli = suite.cli


@suite.case
def wrong_commands_and_argument_counts_exit_2():
    tlm = suite.write("t.tlm", bytes(8))
    out = suite.path("never.tlm")
    calls = [
        [], ["frobnicate"], ["frobnicate", tlm], ["INFO", tlm],
        ["info"], ["info", tlm, tlm],
        ["make"], ["make", tlm], ["make", tlm, out, out],
        ["resave"], ["resave", tlm], ["resave", tlm, out, out],
        ["fit-perspective"], ["fit-perspective", tlm], ["fit-perspective", "--area", "x"],
    ]
    bad = []
    for args in calls:
        res = cli.run(*args)
        if res.code != 2 or not res.err.strip():
            bad.append("%s -> %s" % (args, res.describe()))
    expect(not bad, "\n  ".join([""] + bad))
    expect(not os.path.exists(out), "a usage error wrote a file")
    with open(tlm, "rb") as f:
        expect_equal(f.read(), bytes(8), "input file after usage errors")


@suite.case
def every_command_reads_its_options_alike():
    # One reading of the options for all commands: the same refusal, in the
    # same words, for an option a command does not take and for an option
    # left without its value, before any file is read.
    tlm = suite.path("missing.tlm")
    out = suite.path("never")
    commands = [
        ["export", tlm, out], ["render-group", tlm, "--area", "a", "--group", out, "--out", out],
        ["render-catalogue", tlm, "--out", out], ["fit-perspective", tlm, "--area", "a"],
        ["lay", tlm, "--area", "a", "--pattern", "straight", "--piece", tlm, "--size", "10x10"],
        ["select", tlm, "--area", "a", "--at", "1,1"], ["thumbnail", tlm, out],
    ]
    bad = []
    for command in commands:
        for extra, said in ((["--frobnicate"], "Unknown option --frobnicate."),
                            (["--width" if command[0] != "thumbnail" else "--size"], "needs a value.")):
            if command[0] in ("fit-perspective", "lay", "select") and extra == ["--width"]:
                extra = ["--out"]
            res = cli.run(*command, *extra)
            if res.code != 2 or said not in res.err:
                bad.append("%s -> %s" % (command + extra, res.describe()))
    expect(not bad, "\n  ".join([""] + bad))
    expect(not os.path.exists(out), "a usage error wrote a file")


def project_version():
    """The version the build's project() declares, read from the source tree."""
    top = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "CMakeLists.txt")
    with open(top) as f:
        match = re.search(r"project\(Tilemont VERSION ([0-9.]+)", f.read())
    expect(match is not None, "no project version in %s" % top)
    return match.group(1)


@suite.case
def both_programs_print_the_project_version():
    version = project_version()
    res = cli.run("--version")
    expect_equal((res.code, res.out, res.err), (0, "tilemont-cli %s\n" % version, ""), "tilemont-cli --version")
    # The editor sits beside the command-line tool's folder in the build.
    editor = os.path.join(os.path.dirname(cli.exe), "..", "tilemont")
    expect(os.path.exists(editor), "no editor at %s" % editor)
    proc = subprocess.run([editor, "--version"], capture_output=True, timeout=30,
                          env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    expect_equal((proc.returncode, proc.stdout.decode()), (0, "tilemont %s\n" % version), "tilemont --version")


suite.finish()
