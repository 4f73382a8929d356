"""Command-line usage errors exit with status 2 and touch no file."""

import os

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


suite.finish()
