"""Writes a drawing of multiline texts with ezdxf and prints, one line per
text in model-space order (tab-separated), what ezdxf reads from each: its
plain text (line breaks as \\n), location x y z, height, reference width,
attachment, rotation (degrees) and line spacing factor.
python3 mtext_fixture.py OUT.dxf"""
import sys

import ezdxf

LONG = " ".join("Word%03d" % i for i in range(80)) + " end"


def main():
    doc = ezdxf.new("R2010", setup=True)
    doc.styles.add("SANS", font="DejaVuSans.ttf")
    msp = doc.modelspace()
    msp.add_mtext("Plain line", dxfattribs={"insert": (10, 20), "char_height": 2.5})
    msp.add_mtext("{\\H2x;Big} and \\C1;red\\Psecond paragraph",
                  dxfattribs={"insert": (30, 40, 0), "char_height": 3, "width": 50, "attachment_point": 5,
                              "style": "SANS"})
    m = msp.add_mtext("Turned by rotation", dxfattribs={"insert": (5, 5), "char_height": 1.5, "attachment_point": 9})
    m.dxf.rotation = 30
    d = msp.add_mtext("Turned by direction", dxfattribs={"insert": (7, 8), "char_height": 2})
    d.dxf.text_direction = (0, 2, 0)  # not a unit vector: only its direction counts
    msp.add_mtext(LONG, dxfattribs={"insert": (0, 100), "char_height": 2, "width": 80, "line_spacing_factor": 1.5})
    msp.add_mtext("\\fArial|b1|i0|c0|p34;Bold \\LUnder\\l \\S1/2; a^Jb",
                  dxfattribs={"insert": (50, 50), "char_height": 2})
    doc.saveas(sys.argv[1])
    for e in ezdxf.readfile(sys.argv[1]).modelspace().query("MTEXT"):
        fields = [e.plain_text().replace("\n", "\\n")] + [repr(v) for v in e.dxf.insert] + [
            repr(e.dxf.char_height), repr(e.dxf.get("width", 0.0)), str(e.dxf.attachment_point),
            repr(e.get_rotation()), repr(e.dxf.get("line_spacing_factor", 1.0))]
        print("\t".join(fields))


if __name__ == "__main__":
    main()
