"""Writes the starting inputs of every fuzzer, one folder each under OUT:

  write_seeds.py OUT

Small valid files of each format the application reads (SEG-Y in every readable sample
format and both sortings, point files, environment files, projects, view states) and a
few that are close to valid. The fuzzers mutate these; keeping them small keeps each run
fast. Needs Debian's python3-segyio (run with /usr/bin/python3).
"""
import json
import os
import sqlite3
import sys
import warnings

import numpy as np
import segyio


def write(folder, name, content):
    os.makedirs(folder, exist_ok=True)
    mode = "wb" if isinstance(content, bytes) else "w"
    with open(os.path.join(folder, name), mode, newline="") as f:
        f.write(content)


def segy_seeds(folder):
    os.makedirs(folder, exist_ok=True)
    # The integer formats take the float samples rounded; segyio warns about each.
    warnings.simplefilter("ignore", RuntimeWarning)
    sortings = {"inline": segyio.TraceSortingFormat.INLINE_SORTING,
                "crossline": segyio.TraceSortingFormat.CROSSLINE_SORTING}
    for fmt in (1, 2, 3, 5, 8):
        for sorting_name, sorting in sortings.items():
            layout = segyio.spec()
            layout.format = fmt
            layout.sorting = sorting
            layout.ilines = [10, 12, 14]
            layout.xlines = [20, 21]
            layout.samples = list(range(6))
            path = os.path.join(folder, f"format{fmt}_{sorting_name}.sgy")
            with segyio.create(path, layout) as f:
                outer, inner = (layout.ilines, layout.xlines) if sorting_name == "inline" else (layout.xlines, layout.ilines)
                trace = 0
                for a in outer:
                    for b in inner:
                        il, xl = (a, b) if sorting_name == "inline" else (b, a)
                        f.header[trace] = {segyio.su.iline: il, segyio.su.xline: xl,
                                           segyio.su.ns: len(layout.samples), segyio.su.dt: 4000,
                                           segyio.su.delrt: 100, segyio.su.scalco: -10}
                        f.trace[trace] = np.arange(len(layout.samples), dtype=np.float32) * (trace - 5)
                        trace += 1
                f.bin.update(hns=len(layout.samples), hdt=4000, format=fmt)


def point_seeds(folder):
    write(folder, "named.csv", "x,y,z,amplitude\n1,2,3,0.5\n4.5,5,6e2,-1\n")
    write(folder, "plain.txt", "# survey picks\n\n1 2 3\n4  5   6\n7 8 9\n")
    write(folder, "crlf.csv", "1,2,3\r\n4,5,6\r\n")
    write(folder, "wide.txt", "X Y Z A B C\n1 2 3 4 5 6\n")


def dotenv_seeds(folder):
    write(folder, "plain.env", "A=1\nexport B=two words # comment\nC\nD=\n")
    write(folder, "quotes.env", "S='single ${A}'\nD=\"line\\nnext \\\"q\\\"\"\nM=\"spans\ntwo lines\"\n")
    write(folder, "expand.env", "HOME_DIR=${HOME}\nX=${MISSING:-fallback}/${A:B}\n'quoted key'=v\n")
    write(folder, "faulty.env", "ok=1\n  'broken\n=no key\nlast=2\r\n")


def project_seeds(folder):
    os.makedirs(folder, exist_ok=True)
    tables = [
        "CREATE TABLE objects (position INTEGER NOT NULL, type TEXT NOT NULL, name TEXT NOT NULL UNIQUE, "
        "source TEXT NOT NULL, relative_source TEXT NOT NULL, settings TEXT NOT NULL)",
        "CREATE TABLE viewers (position INTEGER NOT NULL, name TEXT NOT NULL UNIQUE, state TEXT NOT NULL, "
        "active INTEGER NOT NULL)",
        "CREATE TABLE shown (viewer TEXT NOT NULL, object TEXT NOT NULL, section TEXT NOT NULL, "
        "entry TEXT NOT NULL, value INTEGER NOT NULL)",
        "CREATE TABLE picks (position INTEGER NOT NULL, viewer TEXT NOT NULL, volume TEXT NOT NULL, "
        "iline INTEGER NOT NULL, xline INTEGER NOT NULL, time REAL NOT NULL, map_x REAL, map_y REAL, "
        "amplitude REAL NOT NULL, x REAL NOT NULL, y REAL NOT NULL, z REAL NOT NULL)",
    ]

    def project(name, version, objects, viewers, shown, picks=()):
        path = os.path.join(folder, name)
        if os.path.exists(path):
            os.remove(path)
        db = sqlite3.connect(path)
        # Small pages keep the file small.
        db.execute("PRAGMA page_size = 512")
        for statement in tables:
            db.execute(statement)
        db.execute("PRAGMA application_id = %d" % 0x4B565844)
        db.execute("PRAGMA user_version = %d" % version)
        db.executemany("INSERT INTO objects VALUES (?, ?, ?, ?, ?, ?)", objects)
        db.executemany("INSERT INTO viewers VALUES (?, ?, ?, ?)", viewers)
        db.executemany("INSERT INTO shown VALUES (?, ?, ?, ?, ?)", shown)
        db.executemany("INSERT INTO picks VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", picks)
        db.commit()
        db.execute("VACUUM")
        db.close()

    volume = (0, "seismic_volume", "cube", "/data/cube.sgy", "data/cube.sgy",
              json.dumps({"iline_byte": 189, "xline_byte": 193, "cmap": "seismic"}))
    points = (1, "point_set", "picks", "/data/picks.csv", "data/picks.csv", json.dumps({"size": 4}))
    viewer = (0, "3D View 1", json.dumps({"azimuth": 30, "center": [1, 2, 3]}), 1)
    # Picks with and without map coordinates, so that the fuzzer reaches their values.
    picks = [(0, "3D View 1", "cube", 1010, 2020, 48.5, None, None, -0.5, 1010, 2020, -48.5),
             (1, "3D View 1", "cube", 1011, 2021, 52, 612345.25, 5424429.2, 1e3, 1011, 2021, -52)]
    project("two_objects.kvd", 1, [volume, points], [viewer],
            [("3D View 1", "cube", "sections", "iline", 1), ("3D View 1", "picks", "object", "self", 1)],
            picks)
    project("empty.kvd", 1, [], [], [])
    project("newer.kvd", 2, [volume], [], [])
    project("bad_json.kvd", 1, [(0, "point_set", "p", "/p", "p", "{not json")], [(0, "v", "[]", 0)], [])


def view_state_seeds(folder):
    full = {"distance": 12.5, "elevation": 30, "azimuth": -45, "fov": 60, "center": [1, 2, 3],
            "bgcolor": [0, 0, 0.2, 1], "aspect_method": "auto", "aspect_ratio": None}
    write(folder, "full.json", json.dumps(full))
    write(folder, "named_colour.json", '{"bgcolor": "white", "fov": 0, "center": [0, 0, 0]}')
    write(folder, "nested.json", '{"a": {"b": [1, {"c": "}\\""}]}, "distance": 1e308, "x\\u00e9": "\\\\"}')
    write(folder, "empty.json", "{}")


def main():
    out = sys.argv[1]
    segy_seeds(os.path.join(out, "segy"))
    point_seeds(os.path.join(out, "points"))
    dotenv_seeds(os.path.join(out, "dotenv"))
    project_seeds(os.path.join(out, "project"))
    view_state_seeds(os.path.join(out, "view_state"))


if __name__ == "__main__":
    main()
