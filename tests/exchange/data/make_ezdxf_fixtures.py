#!/usr/bin/python3
# Writes ezdxf_drawing.dxf with an independent DXF writer (Debian's
# python3-ezdxf) and ezdxf_drawing.counts: the number of entities of each
# kind on each layer of its model space as ezdxf reads the file back, one
# "layer kind count" line each. Run once by hand; the outputs are committed.
import os
import ezdxf

here = os.path.dirname(os.path.abspath(__file__))
path = os.path.join(here, "ezdxf_drawing.dxf")

doc = ezdxf.new("R2000")
msp = doc.modelspace()
for name in ["TOP", "TOP1", "BOT", "HOLE", "LINE", "A_VERY_LONG_LAYER_NAME_OF_COPPER"]:
    doc.layers.add(name)

# A block whose entities must not count as model-space entities.
pad = doc.blocks.new(name="PAD")
pad.add_circle((0, 0), 5, dxfattribs={"layer": "TOP"})
pad.add_line((-5, 0), (5, 0), dxfattribs={"layer": "TOP"})
msp.add_blockref("PAD", (100, 100), dxfattribs={"layer": "TOP"})

for i in range(12):
    msp.add_line((i * 10, 0), (i * 10 + 5, 20), dxfattribs={"layer": "TOP"})
for i in range(5):
    msp.add_line((0, i), (50, i), dxfattribs={"layer": "TOP1"})
for i in range(7):
    msp.add_circle((i * 25, 50), 8 + i * 0.0005, dxfattribs={"layer": "HOLE"})
msp.add_arc((0, 0), 30, 350, 10, dxfattribs={"layer": "BOT"})
msp.add_arc((10, 10), 5, 0, 270, dxfattribs={"layer": "BOT"})
msp.add_lwpolyline([(0, 0, 0, 0, 0.5), (10, 0, 0, 0, -1), (10, 10), (0, 10, 0, 0, 2)],
                   format="xyseb", close=True, dxfattribs={"layer": "BOT", "const_width": 0.3})
msp.add_lwpolyline([(0, 0), (5, 5), (9, 1)], dxfattribs={"layer": "LINE"})
msp.add_polyline2d([(0, 0), (10, 0), (10, 10)], close=True,
                   dxfattribs={"layer": "A_VERY_LONG_LAYER_NAME_OF_COPPER"})
msp.add_solid([(0, 0), (4, 0), (0, 4), (4, 4)], dxfattribs={"layer": "TOP"})
msp.add_text("LINE", dxfattribs={"layer": "LINE"})
msp.add_line((0, 0), (1, 1), dxfattribs={"layer": "LINE"})
doc.saveas(path)

counts = {}
for e in ezdxf.readfile(path).modelspace():
    key = (e.dxf.layer, e.dxftype())
    counts[key] = counts.get(key, 0) + 1
with open(os.path.join(here, "ezdxf_drawing.counts"), "w") as out:
    for (layer, kind), n in sorted(counts.items()):
        out.write(f"{layer} {kind} {n}\n")
