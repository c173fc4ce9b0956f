#!/usr/bin/python3
"""Writes N small floor plans for the batch driver tests and benchmark:

    gen_plans.py N ROOMS FOLDER

plan-01.dxf ... plan-NN.dxf, each ROOMS space blocks made by
bench/gen_floorplan.py with its own seed (so the plans differ).
"""

import contextlib
import io
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "bench"))

import gen_floorplan  # noqa: E402


def main():
    count, rooms, folder = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    os.makedirs(folder, exist_ok=True)
    for i in range(1, count + 1):
        out = os.path.join(folder, "plan-%02d.dxf" % i)
        with contextlib.redirect_stdout(io.StringIO()):
            gen_floorplan.main(["--rooms", str(rooms), "--out", out, "--seed", str(i)])


if __name__ == "__main__":
    main()
