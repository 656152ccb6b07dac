#!/usr/bin/python3
"""Finds the plot of a reference image in a screenshot and counts the plot cells that differ.

Usage: plot-cells.py REFERENCE.ppm SCREENSHOT.ppm LEFT TOP RIGHT BOTTOM
LEFT TOP RIGHT BOTTOM is the plot rectangle in the reference image. Prints "x y differing" (the rectangle's
top-left corner in the screenshot and the number of differing cells) and exits 0 when the plot was found,
prints "not found" and exits 1 otherwise.
"""
import sys


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    position = 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position)
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise SystemExit(f"{path}: not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[position + 1:position + 1 + width * height * 3]


def row(image, x, y, length):
    width, _, pixels = image
    start = (y * width + x) * 3
    return pixels[start:start + length * 3]


def main():
    reference = read_ppm(sys.argv[1])
    screen = read_ppm(sys.argv[2])
    left, top, right, bottom = (int(v) for v in sys.argv[3:7])
    columns, rows = right - left, bottom - top
    screen_width, screen_height, screen_pixels = screen
    best = None
    # Rows of the plot that find its place, tried in turn: cells that differ elsewhere do not hide it.
    for anchor in (rows - 1, rows // 2, 0, rows // 4, 3 * rows // 4):
        needle = row(reference, left, top + anchor, columns)
        start = 0
        while True:
            found = screen_pixels.find(needle, start)
            if found < 0:
                break
            start = found + 3
            if found % 3:
                continue
            x, y = (found // 3) % screen_width, (found // 3) // screen_width - anchor
            if x + columns > screen_width or y < 0 or y + rows > screen_height:
                continue
            differing = sum(
                1
                for j in range(rows)
                for i in range(columns)
                if row(reference, left + i, top + j, 1) != row(screen, x + i, y + j, 1)
            )
            if best is None or differing < best[2]:
                best = (x, y, differing)
        if best is not None and best[2] == 0:
            break
    if best is None:
        print("not found")
        return 1
    print(*best)
    return 0


if __name__ == "__main__":
    sys.exit(main())
