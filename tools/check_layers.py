#!/usr/bin/env python3
"""Holds every #include under src/ to the layer table of README.md.

Each row of the table names a folder, whether it is portable and which
folders it may include. A file may include headers of its own folder and of
those folders; a portable folder includes standard headers only, and only
the Windows folders and the Windows program's entry include Windows' own
headers. Prints each
include against the table and exits 1 when there is any.

  tools/check_layers.py [PROJECT_ROOT]
"""
import pathlib
import re
import sys

ROW = re.compile(r"^\| `src/([\w/]*)` \| `\w+` \|[^|]*\| *(yes)? *\|(.*)\|\s*$")
QUOTED = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
ANGLED = re.compile(r"^\s*#\s*include\s+<([^>]+)>")
STANDARD = re.compile(r"^[a-z_]+$")  # <string>, <cstdint>, <string_view>
# The system headers of Windows, which only the Windows services include.
WINDOWS = re.compile(r"^(windows|win\w+|shellapi|shlobj|knownfolders|objbase|commctrl|uxtheme)\.h$", re.I)
WINDOWS_LAYERS = ("platform/win32", "ui/win32")
WINDOWS_ENTRY = "main_win32.cpp"


def read_table(readme):
    layers = {}
    for line in readme.read_text(encoding="utf-8").splitlines():
        m = ROW.match(line)
        if m:
            folder = m.group(1).rstrip("/")
            allowed = set(re.findall(r"`([\w/]+)`", m.group(3)))
            layers[folder] = (bool(m.group(2)), allowed)
    return layers


def layer_of(path, layers):
    """The longest folder of the table that holds path (relative to src/)."""
    parent = str(pathlib.PurePosixPath(path).parent)
    parent = "" if parent == "." else parent
    while parent not in layers:
        if not parent:
            return None
        parent = str(pathlib.PurePosixPath(parent).parent)
        parent = "" if parent == "." else parent
    return parent


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    layers = read_table(root / "README.md")
    if not layers:
        print("check_layers: no layer table in README.md")
        return 1
    src = root / "src"
    faults = []
    for file in sorted(src.rglob("*")):
        if file.suffix not in (".h", ".cpp", ".inc"):
            continue
        rel = file.relative_to(src).as_posix()
        layer = layer_of(rel, layers)
        if layer is None:
            faults.append(f"src/{rel}: in no folder of the layer table")
            continue
        portable, allowed = layers[layer]
        for number, line in enumerate(file.read_text(encoding="utf-8").splitlines(), 1):
            where = f"src/{rel}:{number}"
            m = QUOTED.match(line)
            if m:
                target = m.group(1)
                if not (src / target).is_file():
                    faults.append(f"{where}: includes \"{target}\", which is not a file of src/")
                    continue
                other = layer_of(target, layers)
                if other != layer and other not in allowed:
                    faults.append(f"{where}: src/{layer or '.'}/ may not include \"{target}\"")
            m = ANGLED.match(line)
            if m and portable and not STANDARD.match(m.group(1)):
                faults.append(f"{where}: portable src/{layer}/ may not include <{m.group(1)}>")
            elif (m and WINDOWS.match(m.group(1)) and layer not in WINDOWS_LAYERS
                  and rel != WINDOWS_ENTRY):
                faults.append(f"{where}: only the Windows folders may include <{m.group(1)}>")
    for fault in faults:
        print(fault)
    print(f"check_layers: {len(layers)} layers, {len(faults)} includes against the table")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
