#!/usr/bin/env python3
"""The scene file schema (docs/scene.schema.json) agrees with the loader.

  scene_schema_test.py SOURCE_DIR HOST [EMULATOR...]

Every scene file of the repository that the driver HOST loads (the example
scenes, the driver's test scenes, the fuzz targets' kept inputs, the README's
example) is valid under the schema; files the loader refuses for their shape
are refused by the schema too. Exits 77 (skipped) without python3-jsonschema.
"""
import json
import os
import pathlib
import re
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

try:
    import jsonschema
except ImportError:
    print("python3-jsonschema is not installed: skipped")
    sys.exit(77)

# Refused by the loader for their shape, so by the schema too.
REFUSED_SHAPES = [
    '[]',
    '{"scene": []}',
    '{"$schema": 5}',
    '{"objects": {}}',
    '{"objects": [5]}',
    '{"objects": [{"name": "Cube"}]}',
    '{"objects": [{"type": 1, "children": [{"type": 1, "tags": [{}]}]}]}',
    '{"objects": [{"type": 1, "colour": "red"}]}',
    '{"objects": [{"type": "5159"}]}',
    '{"objects": [{"type": 5159.5}]}',
    '{"objects": [{"type": 2147483648}]}',
    '{"objects": [{"type": -2147483649}]}',
    '{"objects": [{"type": 1, "name": 7}]}',
    '{"objects": [{"type": 1, "selected": 1}]}',
    '{"plugins": [{"id": 1, "name": "x"}]}',
    '{"plugins": [{"id": 1, "kind": 6, "type": 6}]}',
    '{"materials": [{"type": 1, "channels": {"15": {}}}]}',
    '{"materials": [{"type": 1, "channels": {"03": {}}}]}',
    '{"materials": [{"type": 1, "channels": []}]}',
    '{"materials": [{"type": 1, "channels": {"0": {"shader": {"name": "n"}}}}]}',
    '{"materials": [{"type": 1, "channels": {"0": {"reflectance": []}}}]}',
    '{"materials": [{"type": 1, "channels": {"3": {"reflectance": [{"type": 1, "owner": 3}]}}}]}',
    '{"materials": [{"type": 1, "channels": {"0": {"shader": {"type": 1, "owner": "M"}}}}]}',
    '{"materials": [{"type": 1, "channels": {"0": {"shader": {"type": 5, "layers": [{"kind": 1}]}}}}]}',
    '{"materials": [{"type": 1, "channels": {"0": {"shader": {"type": 1011123, "layers": [{"kind": 2}]}}}}]}',
    '{"materials": [{"type": 1, "channels": {"0": {"shader": {"type": 1011123, "layers": [{"shader": null}]}}}}]}',
    '{"materials": [{"type": 1, "channels": {"0": {"shader": {"type": 1011123, "layers": '
    '[{"kind": 1, "shader": null}]}}}}]}',
    '{"renderSettings": [{"active": true}, {"active": true}]}',
    '{"renderSettings": [{"type": 3}]}',
    '{"renderSettings": [{"videoPosts": [{"name": "Glow"}]}]}',
    '{"renderSettings": [{"shaders": []}]}',
    '{"objects": [{"type": 1, "shaders": {}}]}',
    '{"objects": [{"type": 1, "tags": [{"type": 2, "shaders": [{"name": "n"}]}]}]}',
    '{"materials": [{"type": 1, "shaders": [{"type": 2, "shaders": [{"type": 3, "owner": "M"}]}]}]}',
    '{"materials": [{"type": 1, "channels": {"0": {"shader": {"type": 1, "shaders": [5]}}}}]}',
]


def readme_example(source):
    readme = (source / "README.md").read_text(encoding="utf-8")
    section = readme[readme.index("\n## Scene files\n"):]
    return re.search(r"```json\n(.*?)```", section, re.S).group(1)


def main():
    source, host = pathlib.Path(sys.argv[1]), sys.argv[2:]
    schema = json.loads((source / "docs" / "scene.schema.json").read_text(encoding="utf-8"))
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    failures = []

    def loads(path):
        run = subprocess.run(host + ["-c", "", str(path)], capture_output=True, text=True, errors="replace")
        return run.returncode == 0, run.stdout.strip().splitlines()[-1:] if run.returncode else ""

    files = sorted(source.glob("example_scenes/**/*.json")) + sorted(source.glob("tests/driver/sessions/*.json"))
    files += sorted(source.glob("fuzz/corpus/scene_loader/*")) + sorted(source.glob("fuzz/regressions/scene_loader/*"))
    with tempfile.TemporaryDirectory() as folder:
        example = pathlib.Path(folder) / "readme_example.json"
        example.write_text(readme_example(source), encoding="utf-8")
        files.append(example)
        # The loads run side by side: under wine each start of the driver takes a second.
        with ThreadPoolExecutor(max_workers=os.cpu_count() or 1) as pool:
            results = list(pool.map(loads, files))
        checked = 0
        for path, (loaded, error) in zip(files, results):
            if not loaded:
                if path == example:
                    failures.append(f"the README's example does not load: {error}")
                continue
            checked += 1
            for problem in validator.iter_errors(json.loads(path.read_bytes())):
                failures.append(f"{path}: loads, but the schema refuses it: {problem.json_path}: {problem.message}")
        if checked < 5:
            failures.append(f"only {checked} scene files load")

        refused = []
        for number, text in enumerate(REFUSED_SHAPES):
            refused.append(pathlib.Path(folder) / f"refused_{number}.json")
            refused[-1].write_text(text, encoding="utf-8")
        with ThreadPoolExecutor(max_workers=os.cpu_count() or 1) as pool:
            refused_results = list(pool.map(loads, refused))
        for text, (loaded, _) in zip(REFUSED_SHAPES, refused_results):
            if loaded:
                failures.append(f"{text}: the loader takes it")
            if validator.is_valid(json.loads(text)):
                failures.append(f"{text}: the schema takes it")
    for failure in failures:
        print(failure)
    print(f"{checked} scene files valid, {len(REFUSED_SHAPES)} shapes refused by both, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
