"""Checks that every place that states the program's licence states the same one, MIT.

Usage: licence_check.py LICENSE COPYRIGHT METAINFO [RELEASE.zip ...]

LICENSE is the licence's text. The Debian copyright file must give every file the licence
under Debian's name for it, Expat, with the same holder and the same text; the AppStream
metainfo must name it by its SPDX identifier, MIT; each Windows zip must carry LICENSE byte for
byte.
"""

import re
import sys
import xml.etree.ElementTree as ElementTree
import zipfile


def words(text):
    return " ".join(text.split())


def copyright_paragraphs(text):
    return [dict(re.findall(r"^([A-Za-z-]+):[ \t]*(.*(?:\n[ \t].*)*)", p, re.M))
            for p in re.split(r"\n\s*\n", text.strip())]


def main():
    licence_path, copyright_path, metainfo_path, *zips = sys.argv[1:]
    with open(licence_path, encoding="utf-8") as f:
        licence = f.read()
    failures = []

    title, rest = licence.split("\n", 1)
    if title.strip() != "MIT License":
        failures.append(f"LICENSE: first line {title!r}, want 'MIT License'")
    holder = re.search(r"^Copyright \(c\) (\d{4}) (.+)$", licence, re.M)
    body = licence[licence.index("Permission is hereby granted"):]

    with open(copyright_path, encoding="utf-8") as f:
        paragraphs = copyright_paragraphs(f.read())
    files = next((p for p in paragraphs if p.get("Files", "").strip() == "*"), {})
    if files.get("License", "").strip() != "Expat":
        failures.append(f"copyright: Files: * under {files.get('License')!r}, want Expat")
    if holder and words(files.get("Copyright", "")) != f"{holder[1]} {holder[2]}":
        failures.append(f"copyright: holder {files.get('Copyright')!r}, LICENSE has "
                        f"'{holder[1]} {holder[2]}'")
    stated = next((p["License"] for p in paragraphs
                   if p.get("License", "").startswith("Expat\n")), "")
    text = "\n".join("" if line.strip() == "." else line for line in stated.split("\n")[1:])
    if words(text) != words(body):
        failures.append("copyright: the Expat text differs from LICENSE")

    metainfo = ElementTree.parse(metainfo_path).getroot()
    project_licence = metainfo.findtext("project_license")
    if project_licence != "MIT":
        failures.append(f"metainfo: project_license {project_licence!r}, want 'MIT'")

    for path in zips:
        with zipfile.ZipFile(path) as archive:
            if archive.read("LICENSE").decode("utf-8") != licence:
                failures.append(f"{path}: LICENSE differs from the source's")

    for failure in failures:
        print("FAIL:", failure)
    print(f"checked LICENSE, {copyright_path}, {metainfo_path}" + "".join(f", {z}" for z in zips))
    print(f"{0 if failures else 1} passed, {1 if failures else 0} failed")
    sys.exit(1 if failures else 0)


main()
