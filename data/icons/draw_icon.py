#!/usr/bin/env python3
"""Draws the program's icon: a clutch diaphragm spring seen from above, the
conical ring outside and radial release fingers, each slot between two
fingers ending in a round hole, around the open centre.

    python3 data/icons/draw_icon.py     # rewrites diaspring.svg and diaspring-16.svg beside it

The metal is one path (a circle, less one contour that runs round the centre
hole and every slot), filled and edged, so that every SVG renderer draws it
the same: no masks or clip paths, which some icon loaders ignore. The
build renders the PNG sizes from these files (data/CMakeLists.txt).
"""
import math
import os


def fmt(v):
    return f"{v:.2f}".rstrip("0").rstrip(".")


def inner_contour(c, fingers, hole, slot_half, key_at, key_r):
    """The edge round the centre hole and the slots, as one closed subpath."""
    # Where a slot's side (offset slot_half from its axis) meets the hole
    # and the round hole at its end, measured along the axis.
    along_hole = math.sqrt(hole * hole - slot_half * slot_half)
    along_key = key_at - math.sqrt(key_r * key_r - slot_half * slot_half)
    step = 2 * math.pi / fingers

    def point(angle, along, across):
        # angle 0 points up; `across` to the right of the axis
        ux, uy = math.sin(angle), -math.cos(angle)
        return c + along * ux + across * -uy, c + along * uy + across * ux

    d = []
    for i in range(fingers):
        a = i * step
        left_hole = point(a, along_hole, -slot_half)
        left_key = point(a, along_key, -slot_half)
        right_key = point(a, along_key, slot_half)
        right_hole = point(a, along_hole, slot_half)
        if i == 0:  # later slots start where the arc along the hole ended
            d.append(f"M{fmt(left_hole[0])},{fmt(left_hole[1])}")
        d.append(f"L{fmt(left_key[0])},{fmt(left_key[1])}")
        d.append(f"A{fmt(key_r)},{fmt(key_r)} 0 1 1 {fmt(right_key[0])},{fmt(right_key[1])}")
        d.append(f"L{fmt(right_hole[0])},{fmt(right_hole[1])}")
        nxt = point(a + step, along_hole, -slot_half)
        d.append(f"A{fmt(hole)},{fmt(hole)} 0 0 1 {fmt(nxt[0])},{fmt(nxt[1])}")
    return " ".join(d) + " Z"


def circle(c, r):
    return f"M{fmt(c)},{fmt(c - r)} A{fmt(r)},{fmt(r)} 0 1 1 {fmt(c)},{fmt(c + r)} A{fmt(r)},{fmt(r)} 0 1 1 {fmt(c)},{fmt(c - r)} Z"


def svg(size, fingers, outer, ring_in, hole, slot_w, key_r, edge, crest, title, inner_edge=True):
    c = size / 2
    metal = circle(c, outer) + " " + inner_contour(c, fingers, hole, slot_w / 2, ring_in, key_r)
    edged = metal if inner_edge else circle(c, outer - edge / 2)
    crest_svg = ""
    if crest:
        r = (ring_in + key_r + outer) / 2
        crest_svg = (f'\n  <!-- the crest of the cone -->\n'
                     f'  <circle cx="{fmt(c)}" cy="{fmt(c)}" r="{fmt(r)}" fill="none" stroke="#ffffff" '
                     f'stroke-opacity="0.5" stroke-width="{fmt(crest)}"/>')
    light = ""
    if size > 16:
        light = (f'\n    <linearGradient id="light" x1="{fmt(size * 0.16)}" y1="{fmt(size * 0.12)}" '
                 f'x2="{fmt(size * 0.84)}" y2="{fmt(size * 0.88)}" gradientUnits="userSpaceOnUse">\n'
                 f'      <stop offset="0" stop-color="#ffffff" stop-opacity="0.35"/>\n'
                 f'      <stop offset="0.5" stop-color="#ffffff" stop-opacity="0"/>\n'
                 f'      <stop offset="1" stop-color="#1c2d3e" stop-opacity="0.3"/>\n'
                 f'    </linearGradient>')
    light_fill = f'\n  <path fill="url(#light)" fill-rule="evenodd" d="{metal}"/>' if light else ""
    return f'''<?xml version="1.0" encoding="UTF-8"?>
<!-- {title}. Written by draw_icon.py. -->
<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 {size} {size}">
  <defs>
    <radialGradient id="steel" cx="{fmt(c)}" cy="{fmt(c)}" r="{fmt(outer)}" gradientUnits="userSpaceOnUse">
      <stop offset="{fmt(hole / outer)}" stop-color="#b3c4d4"/>
      <stop offset="{fmt(ring_in / outer)}" stop-color="#6d89a4"/>
      <stop offset="{fmt((ring_in + outer) / 2 / outer)}" stop-color="#9ab0c5"/>
      <stop offset="1" stop-color="#3d566f"/>
    </radialGradient>{light}
  </defs>
  <path fill="url(#steel)" fill-rule="evenodd" d="{metal}"/>{light_fill}{crest_svg}
  <path fill="none" stroke="#22344a" stroke-width="{fmt(edge)}" stroke-linejoin="round" d="{edged}"/>
</svg>
'''


here = os.path.dirname(os.path.abspath(__file__))
# 256 units: twelve fingers. The stroke of the edge lies half on the metal,
# half over the openings, so the openings are drawn wider by one edge width.
with open(os.path.join(here, "diaspring.svg"), "w") as f:
    f.write(svg(256, 12, outer=122, ring_in=84, hole=37, slot_w=18, key_r=13, edge=6, crest=4.5,
                title="diaspring: a clutch diaphragm spring seen from above, twelve release fingers"))
# 16 pixels: eight fingers with wider openings, and no edge inside, which
# would blur them.
with open(os.path.join(here, "diaspring-16.svg"), "w") as f:
    f.write(svg(16, 8, outer=8, ring_in=5.4, hole=2.6, slot_w=1.5, key_r=0.9, edge=1, crest=0, inner_edge=False,
                title="diaspring at 16 pixels: the spring with eight fingers, edged only outside"))
