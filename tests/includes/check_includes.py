#!/usr/bin/env python3
"""scripts/check-includes.py passes on the repository and fails where it should.

    check_includes.py ROOT

First the repository itself: no loop of units, no include up the layers. Then small trees
made in a temporary folder (no git there, as in a source archive), each with a known loop
or include up the layers, or a shape the check must let pass, and what the check must say.
"""
import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
CHECK = os.path.join(ROOT, "scripts", "check-includes.py")


def run_check(root, *options):
    result = subprocess.run([sys.executable, CHECK, "--root", root, *options], capture_output=True, text=True)
    return result.returncode, result.stdout + result.stderr


# name, files (path: text), options, exit status, what the output must hold, and must not.
CASES = [
    (
        "layered tree passes",
        {
            "model/A.h": '#include "model/B.h"\n',
            "model/A.cpp": '#include "model/A.h"\n#include "model/B.h"\n',
            "model/B.h": "#pragma once\n",
            "analysis/C.h": '#include "model/A.h"\n',
            "analysis/C.cpp": '#include "analysis/C.h"\n#include <vector>\n#include "gtest/gtest.h"\n',
            "tools/main.cpp": '#include "analysis/C.h"\n',
        },
        [],
        0,
        ["0 loops, 0 includes up the layers: passed"],
        ["error", "warning"],
    ),
    (
        "source and header include each other",
        {
            "model/A.h": "#pragma once\n",
            "model/A.cpp": '#include "model/A.h"\n\n#include "model/B.h"\n',
            "model/B.h": '#pragma once\n#include "model/A.h"\n',
        },
        [],
        1,
        [
            "error: units include each other: model/A -> model/B -> model/A",
            'model/A.cpp:3 includes "model/B.h"',
            'model/B.h:2 includes "model/A.h"',
        ],
        [],
    ),
    (
        "loop round three units, each link named",
        {
            "model/A.h": '#include "model/B.h"\n',
            "model/B.h": "#pragma once\n",
            "model/B.cpp": '#include "model/B.h"\n#include "model/C.h"\n',
            "model/C.h": "#pragma once\n",
            "model/C.cpp": '#include "model/C.h"\n#include "model/A.h"\n',
        },
        [],
        1,
        [
            "model/A -> model/B -> model/C -> model/A",
            'model/A.h:1 includes "model/B.h"',
            'model/B.cpp:2 includes "model/C.h"',
            'model/C.cpp:2 includes "model/A.h"',
            "1 loops",
        ],
        [],
    ),
    (
        "a system's form of a unit belongs to it",
        {
            "model/F.h": "#pragma once\n",
            "model/FPosix.cpp": '#include "model/F.h"\n#include "model/G.h"\n',
            "model/G.h": '#include "model/F.h"\n',
        },
        [],
        1,
        ["model/F -> model/G -> model/F", 'model/FPosix.cpp:2 includes "model/G.h"'],
        [],
    ),
    (
        "a source without a header of its name is a unit of its own",
        {
            "model/D.h": "#pragma once\n",
            "model/D.cpp": '#include "model/D.h"\n',
            "model/DFile.cpp": '#include "model/D.h"\n#include "model/E.h"\n',
            "model/E.h": "#pragma once\n",
            "model/E.cpp": '#include "model/E.h"\n#include "model/D.h"\n',
        },
        [],
        0,
        ["passed"],
        ["error"],
    ),
    (
        "commented-out includes are no dependencies",
        {
            "model/A.h": "#pragma once\n",
            "model/A.cpp": '#include "model/A.h"\n// #include "model/B.h"\n/*\n#include "model/B.h"\n*/\n',
            "model/B.h": '#include "model/A.h"\n',
        },
        [],
        0,
        ["passed"],
        ["error"],
    ),
    (
        "include up the layers fails",
        {
            "model/A.h": "#pragma once\n",
            "model/A.cpp": '#include "model/A.h"\n#include "analysis/C.h"\n',
            "analysis/C.h": "#pragma once\n",
        },
        [],
        1,
        ['error: include up the layers: model/A.cpp:2 includes "analysis/C.h": model sits below analysis'],
        ["passed"],
    ),
    (
        "include up the layers only warned of",
        {
            "ui/widgets/W.cpp": '#include "ui/windows/N.h"\n',
            "ui/windows/N.h": "#pragma once\n",
        },
        ["--upward=warn"],
        0,
        ['warning: include up the layers: ui/widgets/W.cpp:1 includes "ui/windows/N.h"', "passed"],
        ["error"],
    ),
    (
        "a loop fails even with warnings for the layers",
        {
            "ui/widgets/W.h": '#include "ui/windows/N.h"\n',
            "ui/windows/N.h": '#include "ui/widgets/W.h"\n',
        },
        ["--upward=warn"],
        1,
        ["error: units include each other: ui/widgets/W -> ui/windows/N -> ui/widgets/W", "warning:"],
        ["passed"],
    ),
    (
        "an include beside the includer is resolved",
        {
            "model/A.cpp": '#include "../analysis/C.h"\n',
            "analysis/C.h": "#pragma once\n",
            "bench/ui/B.h": "#pragma once\n",
            "bench/ui/B.cpp": '#include "W.h"\n#include "RandomAssessment.h"\n',
            "bench/ui/W.h": '#include "B.h"\n',
        },
        [],
        1,
        [
            'model/A.cpp:1 includes "../analysis/C.h": model sits below analysis',
            "units include each other: bench/ui/B -> bench/ui/W -> bench/ui/B",
            'bench/ui/B.cpp:1 includes "W.h"',
        ],
        ["RandomAssessment"],
    ),
    (
        "the export's workbook sits with the export, the dialogs beside the document",
        {
            "ui/export/workbook/Book.cpp": '#include "ui/export/Formats.h"\n#include "ui/document/Doc.h"\n',
            "ui/export/Formats.h": '#include "ui/dialogs/Dialogs.h"\n',
            "ui/dialogs/Dialogs.h": '#include "ui/document/Doc.h"\n',
            "ui/document/Doc.h": '#include "ui/charts/Chart.h"\n',
            "ui/charts/Chart.h": "#pragma once\n",
            "ui/widgets/Grid.h": '#include "ui/export/workbook/Book.h"\n',
            "ui/export/workbook/Book.h": "#pragma once\n",
        },
        [],
        1,
        ['ui/widgets/Grid.h:1 includes "ui/export/workbook/Book.h": ui/widgets sits below ui/export', "1 includes up"],
        [],
    ),
    (
        "a folder of no layer",
        {"ui/gadgets/X.h": "#pragma once\n"},
        [],
        1,
        ["ui/gadgets/X.h is in no folder of the layers"],
        [],
    ),
]


class CheckIncludes(unittest.TestCase):
    def test_repository_has_no_loop_and_no_include_up_the_layers(self):
        status, output = run_check(ROOT)
        self.assertEqual(status, 0, output)
        self.assertNotIn("error", output)

    def test_made_trees(self):
        for name, files, options, status, present, absent in CASES:
            with self.subTest(name), tempfile.TemporaryDirectory() as root:
                for path, text in files.items():
                    os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
                    with open(os.path.join(root, path), "w", encoding="utf-8") as file:
                        file.write(text)
                got_status, output = run_check(root, *options)
                self.assertEqual(got_status, status, output)
                for text in present:
                    self.assertIn(text, output)
                for text in absent:
                    self.assertNotIn(text, output)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
