#!/usr/bin/env python3
"""Reference of the colour quantiser, written from its description: an octree
of six levels over the top five bits of red, green and blue, reduced through a
min-heap of populations, a palette from a walk in slot order 7 to 0, and the
mapping with serpentine diffusion in sixteenths (or halves), errors limited to
-20..20, and a cache of nearest colours.

Writes cases for quantizer_test into a folder: cases.txt, one line per case
("name width height colors option"), and per case <name>.in (the 24-bit image),
<name>.pal (the palette, R, G, B per entry, as many entries as asked) and
<name>.idx (the index image).
    quantizer_reference.py FOLDER"""
import os
import sys

import numpy as np

LEVELS = 6
LIMIT = 20


def leaf_index(r, g, b):
    index = 0
    for k in range(5):
        for c in (r, g, b):
            index = index << 1 | ((c >> (7 - k)) & 1)
    return index


class Node:
    __slots__ = ("sums", "count", "population", "children")

    def __init__(self):
        self.sums = [0, 0, 0]
        self.count = 0
        self.population = 0
        self.children = 0


def build_palette(pixels, colors):
    tree = [[Node() for _ in range(8 ** level)] for level in range(LEVELS)]
    for r, g, b in pixels:
        leaf = tree[5][leaf_index(r, g, b)]
        leaf.sums[0] += r
        leaf.sums[1] += g
        leaf.sums[2] += b
        leaf.count += 1

    heap = []
    for i, leaf in enumerate(tree[5]):
        if not leaf.count:
            continue
        heap.append((5, i))
        leaf.population = leaf.count
        level, index = 5, i
        while level > 0:
            parent = tree[level - 1][index // 8]
            parent.population += leaf.count
            parent.children |= 1 << (index % 8)
            level, index = level - 1, index // 8

    def population(entry):
        return tree[entry[0]][entry[1]].population

    def sift_down(i):
        while True:
            smallest = i
            for child in (2 * i + 1, 2 * i + 2):
                if child < len(heap) and population(heap[child]) < population(heap[smallest]):
                    smallest = child
            if smallest == i:
                return
            heap[i], heap[smallest] = heap[smallest], heap[i]
            i = smallest

    for i in range(len(heap) // 2 - 1, -1, -1):
        sift_down(i)

    while len(heap) > colors:
        level, index = heap[0]
        parent_ref = (level, index) if level == 0 else (level - 1, index // 8)
        node = tree[level][index]
        parent = tree[parent_ref[0]][parent_ref[1]]
        if parent.count:
            last = heap.pop()
            if heap:
                heap[0] = last
        else:
            heap[0] = parent_ref
        parent.count += node.count
        parent.sums = [p + n for p, n in zip(parent.sums, node.sums)]
        parent.children &= ~(1 << (index % 8))
        sift_down(0)

    palette = []

    def walk(level, index):
        node = tree[level][index]
        for slot in range(7, -1, -1):
            if node.children & (1 << slot):
                walk(level + 1, index * 8 + slot)
        if node.count:
            c = node.count
            palette.append(tuple((s + c // 2) // c for s in node.sums))

    walk(0, 0)
    return palette


def clamp(v):
    return 0 if v < 0 else 255 if v > 255 else v


def limit(e):
    return -LIMIT if e < -LIMIT else LIMIT if e > LIMIT else e


def nearest(palette, rgb):
    best, best_distance = 0, None
    for i, p in enumerate(palette):
        d = sum((a - b) ** 2 for a, b in zip(rgb, p))
        if best_distance is None or d < best_distance:
            best, best_distance = i, d
    return best


def map_image(img, palette, diffusion):
    height, width, _ = img.shape
    out = np.zeros((height, width), dtype=np.uint8)
    cache = {}
    here = [[0, 0, 0] for _ in range(width + 2)]  # slot x + 1 holds pixel x
    for y in range(height):
        below = [[0, 0, 0] for _ in range(width + 2)]
        step = 1 if y % 2 == 0 else -1
        xs = range(width) if step == 1 else range(width - 1, -1, -1)
        for x in xs:
            e = here[x + 1]
            adjusted = [clamp(int(img[y, x, c]) + ((e[c] + 8) >> 4 if diffusion else e[c] >> 1)) for c in range(3)]
            key = (adjusted[0] >> 3, adjusted[1] >> 3, adjusted[2] >> 3)
            if key not in cache:
                cache[key] = nearest(palette, adjusted)
            index = cache[key]
            out[y, x] = index
            for c in range(3):
                error = limit(adjusted[c] - palette[index][c])
                if diffusion:
                    here[x + 1 + step][c] += 7 * error
                    below[x + 1 - step][c] += 3 * error
                    below[x + 1][c] += 5 * error
                    below[x + 1 + step][c] += error
                else:
                    here[x + 1 + step][c] += error
                    below[x + 1][c] += error
        here = below
    return out


def images():
    rng = np.random.default_rng(20261211)
    noise = rng.integers(0, 256, size=(17, 31, 3), dtype=np.uint8)
    y, x = np.mgrid[0:12, 0:26]
    gradient = np.stack([x * 9, y * 21, (x + y) * 7], axis=-1).astype(np.uint8)
    # A few large flat areas with a little texture: the reduction folds deep.
    blocks = np.zeros((20, 20, 3), dtype=np.uint8)
    blocks[:10, :10] = (250, 20, 20)
    blocks[10:, :10] = (20, 250, 20)
    blocks[:, 10:] = (20, 20, 250)
    blocks[::3, ::2] += 4
    return {"noise": noise, "gradient": gradient, "blocks": blocks}


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    lines = []
    for image_name, img in images().items():
        pixels = [tuple(int(v) for v in p) for p in img.reshape(-1, 3)]
        for colors in (2, 16, 256):
            palette = build_palette(pixels, colors)
            padded = palette + [(0, 0, 0)] * (colors - len(palette))
            for option in (0, 1):
                name = "%s_%d_%d" % (image_name, colors, option)
                indexes = map_image(img, palette, option != 0)
                with open(os.path.join(folder, name + ".in"), "wb") as f:
                    f.write(img.tobytes())
                with open(os.path.join(folder, name + ".pal"), "wb") as f:
                    f.write(bytes(c for p in padded for c in p))
                with open(os.path.join(folder, name + ".idx"), "wb") as f:
                    f.write(indexes.tobytes())
                lines.append("%s %d %d %d %d" % (name, img.shape[1], img.shape[0], colors, option))
    with open(os.path.join(folder, "cases.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
