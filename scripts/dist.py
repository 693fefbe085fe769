#!/usr/bin/env python3
"""Packs the Windows programs into tapecount-<version>-win64.zip, the same bytes from the
same commit: entries in a fixed order, dated at the commit (SOURCE_DATE_EPOCH when set),
with fixed permissions and no extra fields.

Usage: dist.py [--programs DIR] [--out DIR]
  --programs DIR  where tapecount.exe and tapecount-1.27.exe were built (default: build/win)
  --out DIR       where the zip goes (default: build/dist)
Prints the programs' sizes and the zip's SHA-256 and path.
"""
import argparse
import hashlib
import io
import os
import re
import struct
import subprocess
import sys
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PROGRAMS = ['tapecount.exe', 'tapecount-1.27.exe']
GUIDE = 'readme.txt'  # docs/guide-ja.md
PROGRAM_BUDGET = 480 * 1024


def fail(message):
    sys.exit(f'dist.py: {message}')


def shipped_version():
    """The version of the release shipped as tapecount.exe, from shell/version.h."""
    with open(os.path.join(ROOT, 'shell', 'version.h'), encoding='utf-8') as f:
        header = f.read()
    release = re.search(r'^#define TAPECOUNT_SHIPPED_RELEASE (\d+)$', header, re.M)
    version = release and re.search(
        rf'^#define TAPECOUNT_{release.group(1)}_VERSION "([0-9.]+)"$', header, re.M)
    if not version:
        fail('no version of the shipped release in shell/version.h')
    return version.group(1)


def source_date():
    """The package's date: SOURCE_DATE_EPOCH, or else the time of the commit checked out."""
    epoch = os.environ.get('SOURCE_DATE_EPOCH')
    if not epoch:
        log = subprocess.run(['git', '-C', ROOT, 'log', '-1', '--format=%ct'],
                             capture_output=True, text=True)
        epoch = log.stdout.strip()
        if log.returncode or not epoch:
            fail('no commit to date the package by: set SOURCE_DATE_EPOCH')
    # Zip dates start in 1980 and have two-second steps.
    return max(time.gmtime(int(epoch))[:6], (1980, 1, 1, 0, 0, 0))


def shipped_program(path):
    """A program's bytes, once it is known to carry no symbols, debug data or link time:
    stripping afterwards would stamp the time again, so the link must have done it."""
    with open(path, 'rb') as f:
        data = f.read()
    pe = struct.unpack_from('<I', data, 0x3C)[0]
    if data[pe:pe + 4] != b'PE\0\0':
        fail(f'{path} is not a Windows program')
    sections, stamp, symbols, symbol_count = struct.unpack_from('<HIII', data, pe + 6)
    header_size = struct.unpack_from('<H', data, pe + 20)[0]
    first = pe + 24 + header_size
    names = [data[first + 40 * i:first + 40 * i + 8].rstrip(b'\0') for i in range(sections)]
    if symbols or symbol_count or any(n.startswith((b'/', b'.debug')) for n in names):
        fail(f'{path} is not stripped: build it with the project\'s optimised build')
    if stamp:
        fail(f'{path} carries its link time: link it with --no-insert-timestamp')
    if subprocess.run([os.path.join(ROOT, 'scripts', 'check-imports.sh'), path]).returncode:
        fail(f'{path} imports a DLL that is not part of Windows')
    return data


def windows_text(path, mark=''):
    """A UTF-8 text with CRLF line ends, after `mark`."""
    with open(path, encoding='utf-8-sig', newline='') as f:
        text = f.read().replace('\r\n', '\n')
    return (mark + text.replace('\n', '\r\n')).encode('utf-8')


def package(programs_dir, out_dir):
    version = shipped_version()
    files = [(name, shipped_program(os.path.join(programs_dir, name))) for name in PROGRAMS]
    # The Japanese guide as a text Notepad opens on a double-click: a name of ASCII (Explorer's
    # zip folders have not always read UTF-8 names), and a byte-order mark, by which every
    # Notepad takes it for UTF-8 rather than the ANSI code page.
    guide = windows_text(os.path.join(ROOT, 'docs', 'guide-ja.md'), '\ufeff')
    files.append((GUIDE, guide))
    files.append(('LICENSE.txt', windows_text(os.path.join(ROOT, 'LICENSE'))))
    # LF lines, as sha256sum and shasum read them (shasum takes a CR for part of the name);
    # Notepad shows them as lines since Windows 10 1809, certutil does not read the file.
    sums = ''.join(f'{hashlib.sha256(data).hexdigest()}  {name}\n' for name, data in files)
    files.append(('SHA256SUMS', sums.encode('ascii')))

    date = source_date()
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, 'w') as archive:
        for name, data in files:
            entry = zipfile.ZipInfo(name, date_time=date)
            entry.create_system = 3  # Unix, so that the permissions below are read as such
            entry.external_attr = 0o100644 << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(entry, data, compresslevel=9)

    os.makedirs(out_dir, exist_ok=True)
    zip_path = os.path.join(out_dir, f'tapecount-{version}-win64.zip')
    with open(zip_path + '.part', 'wb') as f:
        f.write(buffer.getvalue())
    os.replace(zip_path + '.part', zip_path)

    for name, data in files[:len(PROGRAMS)]:
        over = '  OVER THE BUDGET' if len(data) > PROGRAM_BUDGET else ''
        print(f'{name}: {len(data)} bytes ({len(data) / 1024:.1f} KiB of '
              f'{PROGRAM_BUDGET // 1024}){over}')
    print(f'{hashlib.sha256(buffer.getvalue()).hexdigest()}  {zip_path}')


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--programs', default=os.path.join(ROOT, 'build', 'win'))
    parser.add_argument('--out', default=os.path.join(ROOT, 'build', 'dist'))
    args = parser.parse_args()
    package(args.programs, args.out)


if __name__ == '__main__':
    main()
