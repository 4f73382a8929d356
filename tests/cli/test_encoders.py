"""`tilemont-cli encoders`: every encoder's MIME type and its parameter
listing, compared as literal text, line ends included."""

from clitest import Suite, expect, expect_equal

suite = Suite()
cli = suite.cli

RULE = "-" * 38 + "\r\n"


def listed(name, guid, kind, values):
    text = "%s. The GUID is %s.\r\n" % (name, guid)
    text += "   The value type is %d.\r\n" % kind
    text += "   The number of values is %d.\r\n" % (len(values) if kind != 6 else 1)
    if kind in (3, 4):
        text += "Values:" + "".join("%d;" % v for v in values) + "\r\n"
    if kind == 6:
        text += "   The minimum possible quality value is %d.\r\n" % values[0]
        text += "   The maximum possible quality value is %d.\r\n" % values[1]
    return text + RULE


JPEG = (listed("EncoderTransformation", "{8D0EB2D1-A58E-4EA8-AA14-108074B7B6F9}", 4,
               [13, 14, 15, 16, 17, 0])
        + listed("EncoderQuality", "{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}", 6, [0, 100]))
TIFF = (listed("EncoderCompression", "{E09D739D-CCD4-44EE-8EBA-3FBF8BE4FC58}", 4,
               [2, 3, 4, 5, 6])
        + listed("EncoderColorDepth", "{66087055-AD66-4C7C-9A18-38A2310B8337}", 4,
                 [1, 4, 8, 24, 32]))


@suite.case
def listing_is_literal():
    # spelled out once by hand, so a fault shared by listed() and the tool shows
    expect(JPEG.startswith(
        "EncoderTransformation. The GUID is {8D0EB2D1-A58E-4EA8-AA14-108074B7B6F9}.\r\n"
        "   The value type is 4.\r\n"
        "   The number of values is 6.\r\n"
        "Values:13;14;15;16;17;0;\r\n"
        "--------------------------------------\r\n"
        "EncoderQuality. The GUID is {1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}.\r\n"
        "   The value type is 6.\r\n"
        "   The number of values is 1.\r\n"
        "   The minimum possible quality value is 0.\r\n"
        "   The maximum possible quality value is 100.\r\n"), "hand-written listing")
    res = cli.run("encoders")
    expect(res.code == 0, "encoders failed: %s" % res.describe())
    expect_equal(res.err, "", "stderr")
    raw = res.out
    want = ("image/bmp\n" + "image/jpeg\n" + JPEG + "image/gif\n" + "image/tiff\n" + TIFF
            + "image/png\n")
    if raw != want:
        # show where it goes wrong rather than two long strings
        at = next((i for i, (a, b) in enumerate(zip(raw, want)) if a != b),
                  min(len(raw), len(want)))
        expect(False, "listing differs at offset %d: got %r, want %r"
               % (at, raw[max(0, at - 40):at + 60], want[max(0, at - 40):at + 60]))


@suite.case
def encoders_takes_no_arguments():
    res = cli.run("encoders", "extra")
    expect(res.code == 2, "encoders with an argument: %s" % res.describe())
    expect(res.err.strip(), "no message for the stray argument")


suite.finish()
