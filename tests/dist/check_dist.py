#!/usr/bin/env python3
"""Usage: check_dist.py <folder of the built programs> <scratch folder>

Packs the programs as `make dist` does (which refuses programs that import more than Windows'
own DLLs) and checks the package: the files and no others, their checksums, the version in its
name against the About box, each program's manifest and icons."""
import glob
import hashlib
import os
import pathlib
import re
import shutil
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
SHIPPED = ['tapecount.exe', 'tapecount-1.27.exe', 'readme.txt', 'LICENSE.txt', 'SHA256SUMS']
RT_ICON, RT_GROUP_ICON, RT_MANIFEST = 3, 14, 24
WINDRES = 'x86_64-w64-mingw32-windres'
ASM3 = '{urn:schemas-microsoft-com:asm.v3}'
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def about_box(program):
    """The About box's version line, from the program's own dialog resource."""
    rc = subprocess.run([WINDRES, '-i', program, '-O', 'rc'], check=True, capture_output=True,
                        text=True).stdout
    for text in re.findall(r'CONTROL L"((?:[^"\\]|\\.)*)"', rc):
        text = re.sub(r'\\x([0-9a-fA-F]{4})', lambda m: chr(int(m.group(1), 16)), text)
        if text.startswith('テプカン: ver '):
            return text
    return None


def resources(program):
    """{(type, id): bytes} of a program's numbered resources, each in its first language, read
    from the resource file windres makes of them: each a header, then its data, 4-aligned."""
    subprocess.run([WINDRES, '-i', program, '-o', program + '.res'], check=True)
    res = pathlib.Path(program + '.res').read_bytes()
    found, at = {}, 0
    while at < len(res):
        size, header, kind_mark, kind, name_mark, name = struct.unpack_from('<IIHHHH', res, at)
        if kind_mark == name_mark == 0xFFFF:
            found.setdefault((kind, name), res[at + header:at + header + size])
        at += (header + size + 3) & ~3
    return found


def check_resources(program):
    """The manifest asks for GDI scaling and nothing else of the display; the icons are PNG
    images, each of the size its group lists."""
    name, found = os.path.basename(program), resources(program)
    manifest = ET.fromstring(found[(RT_MANIFEST, 1)])
    scaling = manifest.find(f'{ASM3}application/{ASM3}windowsSettings/'
                            '{http://schemas.microsoft.com/SMI/2017/WindowsSettings}gdiScaling')
    check(scaling is not None and scaling.text == 'true', f'{name}: no gdiScaling true')
    tags = [element.tag.rsplit('}', 1)[-1] for element in manifest.iter()]
    check(not [t for t in tags if t.lower().startswith('dpiaware')], f'{name}: DPI-aware')
    check('dependency' not in tags, f'{name}: depends on another assembly')
    groups = {group: data for (kind, group), data in found.items() if kind == RT_GROUP_ICON}
    check(len(groups) == 2, f'{name}: icons {sorted(groups)}')
    for group, directory in groups.items():
        for i in range(struct.unpack_from('<H', directory, 4)[0]):
            width, height, _, _, _, bits, _, image = struct.unpack_from('<BBBBHHIH', directory,
                                                                       6 + 14 * i)
            size = width or 256
            png = found.get((RT_ICON, image), b'')
            check(png[:8] == b'\x89PNG\r\n\x1a\n' and png[12:16] == b'IHDR'
                  and struct.unpack_from('>IIBB', png, 16) == (size, size, 8, 6)
                  and (height or 256, bits) == (size, 32),
                  f'{name}: icon {group}\'s {size}-pixel image is not a 32-bit PNG of its size')


def main():
    programs, scratch = sys.argv[1:3]
    shutil.rmtree(scratch, ignore_errors=True)
    out, unpacked = os.path.join(scratch, 'dist'), os.path.join(scratch, 'unpacked')
    subprocess.run([os.path.join(ROOT, 'scripts', 'dist.py'), '--programs', programs,
                    '--out', out], check=True)
    [zip_path] = glob.glob(os.path.join(out, '*.zip'))
    with zipfile.ZipFile(zip_path) as archive:
        check(archive.namelist() == SHIPPED, f'entries {archive.namelist()}, not {SHIPPED}')
        archive.extractall(unpacked)
    read = pathlib.Path(unpacked).joinpath  # a file of the package
    sums = dict(reversed(line.split('  ', 1))
                for line in read('SHA256SUMS').read_text('ascii').splitlines())
    for name, digest in sums.items():
        check(hashlib.sha256(read(name).read_bytes()).hexdigest() == digest,
              f'{name}: checksum differs')
    check(sorted(sums) == sorted(SHIPPED[:-1]), f'SHA256SUMS lists {sorted(sums)}')

    # As Notepad reads them: UTF-8 after a byte-order mark, CRLF lines; the guide is the
    # source's text.
    for name, mark in [('readme.txt', b'\xef\xbb\xbf'), ('LICENSE.txt', b'')]:
        text = read(name).read_bytes()
        check(text.startswith(mark) and not text.startswith(mark + b'\xef\xbb\xbf'),
              f'{name}: byte-order mark')
        check(text.count(b'\n') == text.count(b'\r\n') > 0, f'{name}: not CRLF lines')
    guide = read('readme.txt').read_bytes()[3:].decode('utf-8').replace('\r\n', '\n')
    source = pathlib.Path(ROOT, 'docs', 'guide-ja.md').read_text('utf-8')
    check(guide == source, 'readme.txt is not docs/guide-ja.md')

    exes = [os.path.join(unpacked, name) for name in SHIPPED[:2]]
    for exe in exes:
        check_resources(exe)

    version = re.fullmatch(r'tapecount-(.+)-win64\.zip', os.path.basename(zip_path)).group(1)
    about = about_box(exes[0])
    check(about == f'テプカン: ver {version}',
          f'the package is named for {version}; tapecount.exe\'s About box is {about!r}')

    for failure in failures:
        print(f'FAIL: {failure}', file=sys.stderr)
    sys.exit(1 if failures else 0)


if __name__ == '__main__':
    main()
