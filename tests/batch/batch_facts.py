#!/usr/bin/python3
"""What ezdxf finds in a drawing the batch preparation saved a copy of:

    batch_facts.py FILE.dxf

Prints one line per fact: "hatches N", "hatch LAYER PATTERN R G B" per
hatch of model space, "inserts N", "layer NAME on|off".
"""

import sys

import ezdxf


def main():
    doc = ezdxf.readfile(sys.argv[1])
    msp = doc.modelspace()
    hatches = msp.query("HATCH")
    print("hatches %d" % len(hatches))
    for h in hatches:
        rgb = h.rgb if h.rgb is not None else (-1, -1, -1)
        print("hatch %s %s %d %d %d" % (h.dxf.layer, h.dxf.pattern_name, rgb[0], rgb[1], rgb[2]))
    print("inserts %d" % len(msp.query("INSERT")))
    for layer in doc.layers:
        print("layer %s %s" % (layer.dxf.name, "on" if layer.is_on() else "off"))


if __name__ == "__main__":
    main()
