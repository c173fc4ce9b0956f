"""Writes the plot regression inputs of tests/regressions with ezdxf:
python3 make_plot_inputs.py

board-room-bay.dxf: the Board Room hatch of the bundled office example as
the graphic report writes it (ANSI31 at scale 40, one polyline loop whose
south edge, 21650,50 to 28750,50, bows out with bulge 0.25), alone in model
space, so a plot shows only its pattern lines.

block-ring-doubled.dxf: blocks RING-A and RING-B each hold a line and two
references to the other, and model space places RING-A once: a ring other
programs save without complaint, whose nesting a drawing must not follow
round and round (two references a level would mean 2^32 copies at the
depth limit)."""
from pathlib import Path

import ezdxf

HERE = Path(__file__).resolve().parent


def board_room_bay():
    doc = ezdxf.new("R2013")
    hatch = doc.modelspace().add_hatch(color=30)
    hatch.set_pattern_fill("ANSI31", scale=40.0)
    hatch.paths.add_polyline_path(
        [(21650, 50, 0.25), (28750, 50, 0.0), (28750, 7450, 0.0), (21650, 7450, 0.0)], is_closed=True)
    doc.saveas(HERE / "board-room-bay.dxf")


def block_ring_doubled():
    doc = ezdxf.new("R2013")
    a = doc.blocks.new("RING-A")
    b = doc.blocks.new("RING-B")
    a.add_line((0, 0), (100, 0))
    b.add_line((0, 0), (0, 100))
    for block, other in ((a, "RING-B"), (b, "RING-A")):
        block.add_blockref(other, (200, 0))
        block.add_blockref(other, (0, 200))
    doc.modelspace().add_blockref("RING-A", (1000, 1000))
    doc.saveas(HERE / "block-ring-doubled.dxf")


if __name__ == "__main__":
    board_room_bay()
    block_ring_doubled()
