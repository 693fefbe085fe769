#!/usr/bin/env python3
"""Packs this build's programs as `make dist` does (which refuses programs that import more
than Windows' own DLLs) and checks the package: the files and no others, their checksums,
the version in its name against the About box.

Usage: check_dist.py <folder of the built programs> <scratch folder>
"""
import glob
import hashlib
import os
import re
import shutil
import subprocess
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
SHIPPED = ['tapecount.exe', 'tapecount-1.27.exe', 'guide-ja.md', 'LICENSE.txt', 'SHA256SUMS']
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def about_box(program):
    """The About box's version line and height, from the program's own dialog resource."""
    rc = subprocess.run(['x86_64-w64-mingw32-windres', '-i', program, '-O', 'rc'],
                        check=True, capture_output=True, text=True).stdout
    height = re.search(r'^162 DIALOG \d+, \d+, \d+, (\d+)$', rc, re.M).group(1)
    for text in re.findall(r'CONTROL L"((?:[^"\\]|\\.)*)"', rc):
        text = re.sub(r'\\x([0-9a-fA-F]{4})', lambda m: chr(int(m.group(1), 16)), text)
        if text.startswith('テプカン: ver '):
            return text, int(height)
    return None, int(height)


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

    def read(name):
        with open(os.path.join(unpacked, name), 'rb') as f:
            return f.read()

    sums = {}
    for line in read('SHA256SUMS').decode('ascii').splitlines():
        digest, name = line.split('  ', 1)
        sums[name] = digest
        check(hashlib.sha256(read(name)).hexdigest() == digest, f'{name}: checksum differs')
    check(sorted(sums) == sorted(SHIPPED[:-1]), f'SHA256SUMS lists {sorted(sums)}')

    for name, mark in [('guide-ja.md', b'\xef\xbb\xbf'), ('LICENSE.txt', b'')]:
        text = read(name)
        check(text.startswith(mark) and not text.startswith(mark + b'\xef\xbb\xbf'),
              f'{name}: byte-order mark')
        check(text.count(b'\n') == text.count(b'\r\n') > 0, f'{name}: not CRLF lines')

    exes = [os.path.join(unpacked, name) for name in SHIPPED[:2]]

    version = re.fullmatch(r'tapecount-(.+)-win64\.zip', os.path.basename(zip_path)).group(1)
    about = about_box(exes[0])
    check(about == (f'テプカン: ver {version}', 80),
          f'the package is named for {version}; tapecount.exe\'s About box is {about!r}')
    check(about_box(exes[1]) == ('テプカン: ver 1.27', 70), 'the About box of release 1.27')

    for failure in failures:
        print(f'FAIL: {failure}', file=sys.stderr)
    sys.exit(1 if failures else 0)


if __name__ == '__main__':
    main()
