#!/usr/bin/python3
# Writes, with an independent DXF library (Debian's python3-ezdxf):
# - ezdxf_mirrored.dxf: arcs, a circle, polylines with bulges and a SOLID
#   seen from below (extrusion direction (0, 0, -1), as CAD programs write
#   mirrored entities), one layer each, and one arc the right way up;
# - ezdxf_mirrored.points: where that library itself puts each entity in
#   the drawing's coordinates: points along it in order, "layer x y" a line;
# - ezdxf_tilted.dxf: a line and an arc whose plane is tilted out of the
#   drawing's.
# Run once by hand; the outputs are committed.
import os
import ezdxf
from ezdxf import path

here = os.path.dirname(os.path.abspath(__file__))
below = {"extrusion": (0, 0, -1)}

doc = ezdxf.new("R2000")
msp = doc.modelspace()
entities = [
    msp.add_arc((30, 10), 8, 20, 110, dxfattribs={"layer": "ARCM", **below}),
    msp.add_arc((30, 10), 8, 20, 110, dxfattribs={"layer": "ARCP"}),
    msp.add_arc((-5, 3), 6, 300, 60, dxfattribs={"layer": "ARCW", **below}),
    msp.add_circle((12, -7), 3, dxfattribs={"layer": "CIRM", **below}),
    msp.add_lwpolyline([(0, 0, 0, 0, 0.5), (10, 0, 0, 0, 0), (10, 10, 0, 0, -0.7), (0, 10)],
                       format="xyseb", close=True, dxfattribs={"layer": "LWM", **below}),
    msp.add_lwpolyline([(40, 0, 0, 0, -0.4), (50, 5, 0, 0, 0), (55, 0)], format="xyseb",
                       dxfattribs={"layer": "LWMW", "const_width": 0.4, **below}),
    msp.add_polyline2d([(60, 0, 0, 0, 0.3), (68, 0, 0, 0, 0), (68, 5, 0, 0, 0)],
                       format="xyseb", close=True, dxfattribs={"layer": "POLM", **below}),
    msp.add_solid([(20, 20), (24, 20), (20, 23), (24, 23)], dxfattribs={"layer": "SOLM", **below}),
]
doc.saveas(os.path.join(here, "ezdxf_mirrored.dxf"))

with open(os.path.join(here, "ezdxf_mirrored.points"), "w") as out:
    for e in ezdxf.readfile(os.path.join(here, "ezdxf_mirrored.dxf")).modelspace():
        for p in path.make_path(e).flattening(0.0005, segments=32):
            out.write(f"{e.dxf.layer} {p.x:.9f} {p.y:.9f}\n")

tilted = ezdxf.new("R2000")
msp = tilted.modelspace()
msp.add_line((0, 0), (10, 0), dxfattribs={"layer": "FLAT"})
msp.add_arc((5, 5), 2, 0, 90, dxfattribs={"layer": "TILT", "extrusion": (0, 0.6, 0.8)})
tilted.saveas(os.path.join(here, "ezdxf_tilted.dxf"))
