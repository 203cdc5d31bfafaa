#!/usr/bin/env python3
"""Fails when a file of korvex includes against its layering.

Dependencies point one way: config <- utils <- scene <- host <- widgets <- modules
<- app <- automation, with the seismic I/O library beside the scene layer (it needs
only utils, and only the application uses it). Shipped plug-ins reach the program
through the host interfaces, as third-party ones must. VTK is the scene layer's own
business: no product file outside it includes a VTK header. What the scene layer keeps
in korvex/scene/private/ is its own, the VTK objects behind its classes included: only
the layer, its tests (tests/scene and the scene probe other tests read the camera with)
and its benchmarks include it.

Usage: check_includes.py SOURCE_ROOT
"""
import re
import sys
from pathlib import Path

BELOW = {
    "config": set(),
    "utils": {"config"},
    "seismic": {"config", "utils"},
    "scene": {"config", "utils"},
    "host": {"config", "utils", "scene"},
    "widgets": {"config", "utils", "scene", "host"},
    "modules": {"config", "utils", "scene", "host", "widgets"},
    "plugins": {"config", "utils", "scene", "host", "widgets", "modules"},
    "app": {"config", "utils", "seismic", "scene", "host", "widgets", "modules"},
    "automation": {"config", "utils", "seismic", "scene", "host", "widgets", "modules", "app"},
}
# VTK headers are included by bare name; a project header of ours may start with "vtk".
VTK_HEADER = re.compile(r"^(vtk|QVTK)\w*\.h$")
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]', re.MULTILINE)
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}
SCENE_PRIVATE = "korvex/scene/private/"
# Folders allowed to include the scene layer's private headers.
SCENE_PRIVATE_READERS = (Path("korvex/scene"), Path("tests/scene"), Path("bench"))
SCENE_PRIVATE_READER_FILES = (Path("tests/support/scene_probe.cpp"),)
PRODUCT = ("korvex", "plugins")
# Folders outside the product: their files may include from any layer, but not those headers.
OUTSIDE_PRODUCT = ("tests", "bench", "fuzz")


def layer_of(relative: Path):
    """The layer a product path belongs to, or None outside the product."""
    parts = relative.parts
    if parts[0] == "plugins":
        return "plugins"
    if parts[0] == "korvex" and len(parts) > 2:
        return parts[1]
    return None


def sources(root: Path, folder: str):
    for path in sorted(root.joinpath(folder).rglob("*")):
        if path.suffix in SOURCE_SUFFIXES and path.is_file():
            yield path, path.relative_to(root)


def reads_scene_private(relative: Path):
    return relative in SCENE_PRIVATE_READER_FILES or any(
        reader in relative.parents for reader in SCENE_PRIVATE_READERS)


def violations(root: Path):
    for folder in PRODUCT + OUTSIDE_PRODUCT:
        for path, relative in sources(root, folder):
            layer = layer_of(relative)
            if folder in PRODUCT and layer not in BELOW:
                yield f"{relative}: in no known layer ({layer})"
                continue
            text = path.read_text(encoding="utf-8", errors="replace")
            for included in INCLUDE.findall(text):
                if included.startswith(SCENE_PRIVATE) and not reads_scene_private(relative):
                    yield f"{relative}: {included} is private to the scene layer"
                if layer is None:
                    continue
                target = layer_of(Path(included))
                if target is not None and target != layer and target not in BELOW[layer]:
                    yield f"{relative}: {layer} must not include {included} ({target})"
                if layer != "scene" and VTK_HEADER.match(included):
                    yield f"{relative}: VTK header {included} outside the scene layer"


def main():
    root = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent
    found = list(violations(root))
    for line in found:
        print(line)
    print(f"{len(found)} include(s) against the layering")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
