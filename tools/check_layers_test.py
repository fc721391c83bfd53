#!/usr/bin/env python3
"""The layer check catches includes planted in a small tree of folders."""
import pathlib
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import check_layers  # noqa: E402


class LayerCheckTest(unittest.TestCase):
    def tree(self, files: dict) -> pathlib.Path:
        root = pathlib.Path(self.enterContext(tempfile.TemporaryDirectory()))
        base = {
            "scenario/scenario.h": "",
            "render/fieldrenderer.h": '#include "scenario/scenario.h"\n',
            "services/cellgrid.h": '#include "render/fieldrenderer.h"\n#include <QWidget>\n',
            "views/palette.h": '#include "services/cellgrid.h"\n',
            "fields/fieldman.h": '#include "views/palette.h"\n',
            "fields/CMakeLists.txt": "qrn_folder_library(fields qrn_services qrn_views)\n",
            "properties/paramedit.h": '#include "fields/fieldman.h"\n',
            "properties/CMakeLists.txt": "qrn_folder_library(properties qrn_services\n    qrn_fields)\n",
            "mainwindow/maker.h": '#include "properties/paramedit.h"\n',
            "app/main.cpp": '#include "mainwindow/maker.h"\n',
        }
        base.update(files)
        for rel, text in base.items():
            (root / rel).parent.mkdir(parents=True, exist_ok=True)
            (root / rel).write_text(text, encoding="utf-8")
        return root

    def test_a_sound_tree_passes(self):
        self.assertEqual(check_layers.check(self.tree({})), [])

    def test_planted_includes_are_each_reported(self):
        faults = check_layers.check(self.tree({
            "services/help.cpp": '#include "mainwindow/maker.h"\n',   # up a layer
            "views/minimap.cpp": '#include "properties/paramedit.h"\n',  # across, not linked
            "properties/page.cpp": '#include "paramedit.h"\n#include "views/palette.h"\n',  # not linked either
            "scenario/text.cpp": "#include <QString>\n",              # Qt in the model
            "app/cli/join.cpp": '#include "services/cellgrid.h"\n',   # the tool above render
        }))
        self.assertEqual(len(faults), 5, faults)
        self.assertTrue(any(f.startswith("services/help.cpp:1") for f in faults))
        self.assertTrue(any("views may not use properties" in f for f in faults))
        self.assertTrue(any("properties may not use views" in f for f in faults))
        self.assertTrue(any("the model does not use Qt" in f for f in faults))
        self.assertTrue(any(f.startswith("app/cli/join.cpp") for f in faults))

    def test_a_cycle_of_links_is_reported(self):
        faults = check_layers.check(self.tree({
            "views/CMakeLists.txt": "qrn_folder_library(views qrn_services qrn_properties)\n",
        }))
        self.assertIn("links: fields reaches itself through the window links", faults)


if __name__ == "__main__":
    unittest.main()
