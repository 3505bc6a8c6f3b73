#!/usr/bin/env python3
"""Writes the meter's 3-D meshes into qml/Mesh/.

FieldArrow.obj (and FieldArrowCoarse.obj, with a square section): a slender arrow from -Y to +Y, centred on the origin so that it
turns about its middle; at rest it points along +Y, as the field direction does
for a field along +Y.

RotationIndicator.obj: a three-quarter ring around +X in the YZ plane with an arrowhead at its end: at
rest it shows a turn counter-clockwise seen from +X (from +Y towards +Z). The
view model turns it onto the view axis and flips it for the other sense.
Run again only to change the shape: the mesh is kept in the repository.
"""
import math
import os

# Scatter items are drawn at their mesh size times itemSize: this fills the graph.
SCENE_SCALE = 4.0
RING_RADIUS = 1.0
TUBE_RADIUS = 0.07
ARC = 1.5 * math.pi
RING_STEPS = 48
TUBE_STEPS = 12
HEAD_LENGTH = 0.35
HEAD_RADIUS = 0.18

vertices, normals, faces = [], [], []


def write(name):
    out = os.path.join(os.path.dirname(__file__), "..", "qml", "Mesh", name)
    with open(out, "w", encoding="ascii", newline="\n") as f:
        f.write("# " + name + ": written by scripts/make_meshes.py\n")
        for v in vertices:
            f.write("v %.5f %.5f %.5f\n" % tuple(c * SCENE_SCALE for c in v))
        f.write("vt 0 0\n")
        for n in normals:
            f.write("vn %.5f %.5f %.5f\n" % n)
        for a, b, c in faces:
            # Counter-clockwise seen from outside.
            f.write("f %d/1/%d %d/1/%d %d/1/%d\n" % (a, a, c, c, b, b))
    del vertices[:], normals[:], faces[:]


def ring_point(a):
    return (0.0, RING_RADIUS * math.cos(a), RING_RADIUS * math.sin(a))


def add_vertex(p, n):
    vertices.append(p)
    length = math.sqrt(sum(c * c for c in n)) or 1.0
    normals.append(tuple(c / length for c in n))
    return len(vertices)


# The tube: circles across the ring, joined by quads split into triangles.
rows = []
for i in range(RING_STEPS + 1):
    a = ARC * i / RING_STEPS
    centre = ring_point(a)
    radial = (0.0, math.cos(a), math.sin(a))
    row = []
    for j in range(TUBE_STEPS):
        b = 2 * math.pi * j / TUBE_STEPS
        n = (math.sin(b), radial[1] * math.cos(b), radial[2] * math.cos(b))
        p = tuple(centre[k] + TUBE_RADIUS * n[k] for k in range(3))
        row.append(add_vertex(p, n))
    rows.append(row)
for i in range(RING_STEPS):
    for j in range(TUBE_STEPS):
        a, b = rows[i][j], rows[i][(j + 1) % TUBE_STEPS]
        c, d = rows[i + 1][(j + 1) % TUBE_STEPS], rows[i + 1][j]
        faces += [(a, b, c), (a, c, d)]

# The arrowhead: a cone along the ring's direction at its end, with its base.
end = ring_point(ARC)
tangent = (0.0, -math.sin(ARC), math.cos(ARC))
radial = (0.0, math.cos(ARC), math.sin(ARC))
side = (1.0, 0.0, 0.0)
tip = tuple(end[k] + HEAD_LENGTH * tangent[k] for k in range(3))
base = []
for j in range(TUBE_STEPS):
    b = 2 * math.pi * j / TUBE_STEPS
    n = tuple(side[k] * math.sin(b) + radial[k] * math.cos(b) for k in range(3))
    base.append(tuple(end[k] + HEAD_RADIUS * n[k] for k in range(3)))
for j in range(TUBE_STEPS):
    p0, p1 = base[j], base[(j + 1) % TUBE_STEPS]
    mid = tuple((p0[k] + p1[k]) / 2 - end[k] for k in range(3))
    n = tuple(mid[k] + HEAD_RADIUS / HEAD_LENGTH * HEAD_RADIUS * tangent[k] for k in range(3))
    faces.append((add_vertex(p0, n), add_vertex(p1, n), add_vertex(tip, n)))
    back = tuple(-c for c in tangent)
    faces.append((add_vertex(p1, back), add_vertex(p0, back), add_vertex(end, back)))

write("RotationIndicator.obj")

# The field arrow: a shaft and a cone along +Y, each a ring of quads and triangles.
SHAFT_RADIUS = 0.06
ARROW_HEAD_RADIUS = 0.16
ARROW_HEAD_START = 0.45


def circle(y, r, steps):
    return [(r * math.cos(2 * math.pi * j / steps), y, -r * math.sin(2 * math.pi * j / steps))
            for j in range(steps)]


def radial_normal(p):
    return (p[0], 0.0, p[2])


def field_arrow(steps, name):
    bottom, top = circle(-1.0, SHAFT_RADIUS, steps), circle(ARROW_HEAD_START, SHAFT_RADIUS, steps)
    head = circle(ARROW_HEAD_START, ARROW_HEAD_RADIUS, steps)
    tip = (0.0, 1.0, 0.0)
    for j in range(steps):
        k = (j + 1) % steps
        a, b = add_vertex(bottom[j], radial_normal(bottom[j])), add_vertex(bottom[k], radial_normal(bottom[k]))
        c, d = add_vertex(top[k], radial_normal(top[k])), add_vertex(top[j], radial_normal(top[j]))
        faces.extend([(a, c, b), (a, d, c)])
        down = (0.0, -1.0, 0.0)
        faces.append((add_vertex(bottom[j], down), add_vertex(bottom[k], down), add_vertex((0.0, -1.0, 0.0), down)))
        faces.append((add_vertex(head[j], down), add_vertex(head[k], down),
                      add_vertex((0.0, ARROW_HEAD_START, 0.0), down)))
        slope = ARROW_HEAD_RADIUS / (1.0 - ARROW_HEAD_START)
        n0 = (head[j][0], slope * ARROW_HEAD_RADIUS, head[j][2])
        n1 = (head[k][0], slope * ARROW_HEAD_RADIUS, head[k][2])
        faces.append((add_vertex(head[j], n0), add_vertex(tip, n0), add_vertex(head[k], n1)))
    write(name)


field_arrow(TUBE_STEPS, "FieldArrow.obj")
# Thousands of arrows: a software renderer spends its time on triangles, and at that
# size a square section looks the same.
field_arrow(4, "FieldArrowCoarse.obj")
