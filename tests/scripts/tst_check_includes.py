#!/usr/bin/env python3
"""The layering check refuses what it must and lets the rest through.

A check that passes everything looks the same as a tree that breaks nothing, so each
rule is tried on a small tree written here.
"""
import sys
import tempfile
import unittest
from pathlib import Path

# Run from the source tree: no bytecode is left beside the script.
sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "scripts"))
import check_includes  # noqa: E402


class IncludeLayering(unittest.TestCase):
    def found(self, files):
        """The violations in a tree holding `files` (path -> one included header)."""
        with tempfile.TemporaryDirectory() as folder:
            root = Path(folder)
            for relative, included in files.items():
                path = root / relative
                path.parent.mkdir(parents=True, exist_ok=True)
                path.write_text(f'#include "{included}"\n')
            return list(check_includes.violations(root))

    def test_includes_along_the_direction_pass(self):
        self.assertEqual(self.found({
            "korvex/widgets/a.cpp": "korvex/host/b.h",
            "korvex/app/a.cpp": "korvex/seismic/b.h",
            "plugins/p/a.cpp": "korvex/modules/base/b.h",
            "korvex/scene/a.cpp": "vtkRenderer.h",
            "tests/app/tst_a.cpp": "korvex/app/b.h",
        }), [])

    def test_an_include_against_the_direction_fails(self):
        for relative, included in [("korvex/scene/a.cpp", "korvex/widgets/b.h"),
                                   ("korvex/seismic/a.cpp", "korvex/scene/b.h"),
                                   ("plugins/p/a.cpp", "korvex/app/b.h")]:
            with self.subTest(relative):
                self.assertEqual(len(self.found({relative: included})), 1)

    def test_vtk_outside_the_scene_layer_fails(self):
        for included in ["vtkRenderer.h", "QVTKOpenGLNativeWidget.h"]:
            with self.subTest(included):
                found = self.found({"korvex/widgets/a.cpp": included})
                self.assertEqual(len(found), 1)
                self.assertIn("VTK header", found[0])

    def test_scene_private_headers_stay_in_the_scene_its_tests_and_benchmarks(self):
        private = "korvex/scene/private/vtk_access.h"
        self.assertEqual(self.found({"korvex/scene/a.cpp": private,
                                     "korvex/scene/private/b.cpp": private,
                                     "tests/scene/tst_a.cpp": private,
                                     "tests/support/scene_probe.cpp": private,
                                     "bench/a.cpp": private}), [])
        for relative in ["korvex/widgets/a.cpp", "korvex/host/a.h", "tests/app/tst_a.cpp",
                         "tests/support/a.cpp", "fuzz/a.cpp",
                         "tests/scenery/a.cpp"]:
            with self.subTest(relative):
                found = self.found({relative: private})
                self.assertEqual(len(found), 1)
                self.assertIn("private to the scene layer", found[0])

    def test_a_file_in_no_layer_fails(self):
        self.assertEqual(len(self.found({"korvex/a.cpp": "korvex/utils/b.h"})), 1)


if __name__ == "__main__":
    unittest.main()
