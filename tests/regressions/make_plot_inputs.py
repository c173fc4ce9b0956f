"""Writes the plot regression inputs of tests/regressions with ezdxf:
python3 make_plot_inputs.py

board-room-bay.dxf: the Board Room hatch of the bundled office example as
the graphic report writes it (ANSI31 at scale 40, one polyline loop whose
south edge, 21650,50 to 28750,50, bows out with bulge 0.25), alone in model
space, so a plot shows only its pattern lines."""
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


if __name__ == "__main__":
    board_room_bay()
