"""Draws a drawing's model space with ezdxf's drawing add-on on matplotlib,
an independent renderer: python3 ezdxf_render.py IN.dxf OUT.png XMIN YMIN XMAX YMAX DPI
The window (drawing units) fills the image; one drawing unit is one
millimetre of paper, so the image matches a 1:1 plot of that window."""
import sys

import ezdxf
import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
from ezdxf.addons.drawing import Frontend, RenderContext
from ezdxf.addons.drawing.matplotlib import MatplotlibBackend
from ezdxf.addons.drawing.properties import LayoutProperties


def main():
    src, out = sys.argv[1], sys.argv[2]
    x0, y0, x1, y1, dpi = map(float, sys.argv[3:8])
    doc = ezdxf.readfile(src)
    msp = doc.modelspace()
    fig = plt.figure(figsize=((x1 - x0) / 25.4, (y1 - y0) / 25.4), dpi=dpi)
    ax = fig.add_axes([0, 0, 1, 1])
    ax.set_axis_off()
    ctx = RenderContext(doc)
    props = LayoutProperties.from_layout(msp)
    props.set_colors("#ffffff")
    Frontend(ctx, MatplotlibBackend(ax)).draw_layout(msp, finalize=False, layout_properties=props)
    ax.set_xlim(x0, x1)
    ax.set_ylim(y0, y1)
    ax.set_aspect("auto")
    fig.savefig(out, dpi=dpi, facecolor="#ffffff")


if __name__ == "__main__":
    main()
