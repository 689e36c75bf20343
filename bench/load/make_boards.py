#!/usr/bin/env python3
"""Gerber boards for the load benchmark (bench/load/load_vs_gerbv.sh).

  make_boards.py dense OUT_DIR
      A dense synthetic board, front.gbr and back.gbr, each side made after
      the view benchmark's dense side (bench/view): 3700 x 3000 mil, 16,000
      pour strokes of 1 to 3 mil in stacks, 20,000 round-ended trace
      segments of 6 to 25 mil in short 0/45/90-degree runs, 3,600 flat-ended
      tracks, 400 arcs and rows of component pads (round, square, oval);
      each side has a pattern of its own (fixed seeds: the same files on
      every run).
  make_boards.py tile N STEP IN.gbr OUT.gbr
      N x N copies of a Gerber file, STEP file units apart, every X and Y of
      the data blocks moved (the parameters stay as they are).
"""
import math
import random
import re
import sys

W, H = 3700.0, 3000.0  # mil


def dense_side(seed):
    rng = random.Random(seed)
    apertures = {}  # (shape, size mil) -> D code
    out = []

    def code(shape, size):
        key = (shape, size)
        if key not in apertures:
            apertures[key] = 10 + len(apertures)
        return apertures[key]

    current = [None]

    def use(shape, size):
        d = code(shape, size)
        if current[0] != d:
            out.append("D%d*" % d)
            current[0] = d

    def xy(x, y):
        return "X%dY%d" % (round(x * 10), round(y * 10))

    # Pours: stacks of level strokes one stroke width apart.
    strokes = 0
    while strokes < 16000:
        width = rng.choice([1, 2, 2, 3])
        x, y = rng.uniform(50, W - 450), rng.uniform(50, H - 350)
        w = rng.uniform(60, 400)
        for i in range(rng.randint(10, 120)):
            if strokes >= 16000:
                break
            sy = y + i * width
            use("C", width)
            out.append(xy(x + rng.uniform(0, 20), sy) + "D02*")
            out.append(xy(x + w - rng.uniform(0, 20), sy) + "D01*")
            strokes += 1
    # Traces: runs of 1 to 6 segments turning by multiples of 45 degrees.
    traces = 0
    while traces < 20000:
        width = rng.choice([6, 6, 8, 8, 10, 10, 12, 16, 25])
        x, y = rng.uniform(100, W - 100), rng.uniform(100, H - 100)
        direction = rng.randint(0, 7)
        use("C", width)
        out.append(xy(x, y) + "D02*")
        for _ in range(rng.randint(1, 6)):
            if traces >= 20000:
                break
            length = rng.uniform(15, 200)
            a = direction * math.pi / 4
            x = min(max(x + length * math.cos(a), 20.0), W - 20)
            y = min(max(y + length * math.sin(a), 20.0), H - 20)
            out.append(xy(x, y) + "D01*")
            traces += 1
            direction = (direction + rng.randint(-1, 1) + 8) % 8
    # Flat-ended tracks, most of them along an axis.
    for i in range(3600):
        x, y, l = rng.uniform(50, W - 150), rng.uniform(50, H - 150), rng.uniform(20, 120)
        use("R", rng.choice([12, 20, 40, 60]))
        out.append(xy(x, y) + "D02*")
        if i % 9 == 0:
            out.append(xy(x + l, y + l * 0.5) + "D01*")
        elif i % 2 == 0:
            out.append(xy(x + l, y) + "D01*")
        else:
            out.append(xy(x, y + l) + "D01*")
    # Arcs, counter-clockwise, a quarter to a half turn.
    out.append("G75*")
    for _ in range(400):
        cx, cy = rng.uniform(250, W - 250), rng.uniform(250, H - 250)
        r = rng.uniform(20, 100)
        start = rng.uniform(0, 2 * math.pi)
        end = start + rng.uniform(0.5, 3)
        use("C", rng.choice([6, 8, 10]))
        sx, sy = cx + r * math.cos(start), cy + r * math.sin(start)
        out.append(xy(sx, sy) + "D02*")
        out.append("G03" + xy(cx + r * math.cos(end), cy + r * math.sin(end)) +
                   "I%dJ%dD01*" % (round((cx - sx) * 10), round((cy - sy) * 10)))
        out.append("G01*")
    # Component pads: rows of 4 to 40 at a 50 or 100 mil pitch.
    pads = 0
    while pads < 18000:
        x, y = rng.uniform(100, W - 2100), rng.uniform(100, H - 100)
        pitch = rng.choice([50, 100])
        size = 2 * rng.choice([8, 10, 12, 15, 20, 30])
        use(rng.choice(["C", "R", "O"]), size)
        for i in range(rng.randint(4, 40)):
            out.append(xy(x + i * pitch, y) + "D03*")
            pads += 1

    head = ["G04 dense synthetic board side %d*" % seed, "%FSLAX24Y24*%", "%MOIN*%"]
    for (shape, size), d in sorted(apertures.items(), key=lambda item: item[1]):
        inches = size / 1000.0
        if shape == "C":
            head.append("%%ADD%dC,%.4f*%%" % (d, inches))
        else:
            head.append("%%ADD%d%s,%.4fX%.4f*%%" % (d, shape, inches, inches * (1.5 if shape == "O" else 1)))
    head.append("G01*")
    return "\n".join(head + out + ["M02*", ""])


def shifted(body, dx, dy):
    def move(m):
        return m.group(1) + str(int(m.group(2)) + (dx if m.group(1) == "X" else dy))
    parts = body.split("%")
    # Even parts lie outside the parameters.
    return "%".join(re.sub(r"([XY])(-?\d+)", move, p) if i % 2 == 0 else p
                    for i, p in enumerate(parts))


def tile(n, step, source, target):
    text = open(source, newline="").read()
    body = text.find("G04 APERTURE END LIST*")
    if body < 0:
        percent = text.rfind("%", 0, text.find("D0"))
        body = text.find("\n", percent)
    end = text.rfind("M02*")
    board = [text[:body]]
    for a in range(n):
        for b in range(n):
            board.append(shifted(text[body:end], a * step, b * step))
    board.append("M02*\n")
    open(target, "w", newline="").write("".join(board))


def main(argv):
    if len(argv) == 3 and argv[1] == "dense":
        for name, seed in (("front", 1), ("back", 2)):
            open("%s/dense.%s.gbr" % (argv[2], name), "w").write(dense_side(seed))
        return 0
    if len(argv) == 6 and argv[1] == "tile":
        tile(int(argv[2]), int(argv[3]), argv[4], argv[5])
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
