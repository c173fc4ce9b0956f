#!/usr/bin/python3
"""Writes N small floor plans for the batch driver tests and benchmark:

    gen_plans.py N ROOMS FOLDER

plan-01.dxf ... plan-NN.dxf, each ROOMS space blocks made by
bench/gen_floorplan.py with its own seed (so the plans differ).
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
GENERATOR = os.path.join(HERE, "..", "..", "bench", "gen_floorplan.py")


def main():
    count, rooms, folder = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    os.makedirs(folder, exist_ok=True)
    for i in range(1, count + 1):
        out = os.path.join(folder, "plan-%02d.dxf" % i)
        subprocess.run([sys.executable, GENERATOR, "--rooms", str(rooms), "--out", out, "--seed", str(i)],
                       check=True, stdout=subprocess.DEVNULL)


if __name__ == "__main__":
    main()
