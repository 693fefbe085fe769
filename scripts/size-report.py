#!/usr/bin/env python3
"""Where a Windows program's bytes go, from the GNU ld map of its link: configure the MinGW
build with -DTAPECOUNT_LINK_MAPS=ON to get build/win/<program>.map.

Usage: size-report.py <program.map> [top]

Prints the bytes of each output section by origin (the program's own code, libstdc++ with its
floating-point formatting tables apart, winpthreads, libgcc and its unwinder, the MinGW
runtime, import stubs, resources) and the `top` largest input files (default 15).
"""
import collections
import re
import sys

# Origin of an input file, first match wins.
STDCXX = r'libstdc\+\+\.a\('
ORIGINS = [
    ('own code', re.compile(r'libtapecount_|ltrans|tapecount[-.0-9]*\.dir/objects\.a\(main')),
    ('own resources', re.compile(r'\.rc\.(res|obj)')),
    ('libstdc++ to_chars', re.compile(STDCXX + r'floating_to_chars')),
    ('libstdc++ from_chars', re.compile(STDCXX + r'floating_from_chars')),
    ('libstdc++ strings', re.compile(STDCXX + r'(w?string-inst|cow-string-inst|sso_string)')),
    ('libstdc++ iostream/locale', re.compile(
        STDCXX + r'(ios|locale|.*facets|c\+\+locale|.*stream|globals_io|codecvt|ctype|wlocale)')),
    ('libstdc++ terminate message', re.compile(STDCXX + r'(cp-demangle|vterminate)')),
    ('libstdc++ eh, rtti, new', re.compile(
        STDCXX + r'(eh_|.*type_info|tinfo|.*stdexcept|functexcept|bad_|guard|new_|del_op'
        r'|snprintf_lite)')),
    ('libstdc++ other', re.compile(STDCXX)),
    ('winpthreads', re.compile(r'lib(win)?pthread\.a')),
    ('libgcc, unwinder, emutls', re.compile(r'libgcc(_eh)?\.a')),
    ('MinGW printf, gdtoa',
     re.compile(r'libmingwex\.a\(\S*(pformat|printf|dtoa|misc|strnlen|wcsnlen)')),
    ('MinGW runtime', re.compile(r'crt\w*\.o|libmingw\w*\.a|libmsvcrt\w*\.a')),
    ('import tables', re.compile(r'lib\w+\.a\(|dll stuff')),
]

OUTPUT = re.compile(r'^(\.\S+)\s+0x[0-9a-f]+\s+0x([0-9a-f]+)')
INPUT = re.compile(r'^ (\.\S+|COMMON)?\s*0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$')


def origin(path):
    for name, pattern in ORIGINS:
        if pattern.search(path):
            return name
    return 'other'


def parse(lines):
    """Yields (output section, input file, bytes) for every input section placed."""
    section = None
    pending = None  # an input section whose name took a line of its own
    for line in lines:
        line = line.rstrip('\n')
        out = OUTPUT.match(line)
        if out:
            section = out.group(1)
            continue
        if section is None or line.startswith('LOAD ') or line.startswith('OUTPUT('):
            continue
        if re.match(r'^ \.\S+$', line):
            pending = line.strip()
            continue
        m = INPUT.match(line if not pending or line.startswith(' .') else ' ' + pending + line)
        pending = None
        if m and m.group(4) and not m.group(4).startswith('0x') and '=' not in m.group(4):
            size = int(m.group(3), 16)
            if size:
                yield section, m.group(4).strip(), size


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    top = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    by_origin = collections.defaultdict(collections.Counter)
    by_file = collections.Counter()
    with open(sys.argv[1], encoding='utf-8', errors='replace') as f:
        for section, path, size in parse(f):
            if section.startswith('.debug'):
                section = '.debug*'
            by_origin[origin(path)][section] += size
            if section != '.debug*':
                by_file[re.sub(r'^.*/', '', path)] += size
    sections = ['.text', '.rdata', '.data', '.pdata', '.xdata', '.idata', '.rsrc', '.debug*']
    print(f"{'origin':28}" + ''.join(f'{s:>9}' for s in sections) + f"{'loaded':>10}")
    for name in [o for o, _ in ORIGINS] + ['other']:
        counts = by_origin.get(name)
        if not counts:
            continue
        loaded = sum(v for s, v in counts.items() if s not in ('.debug*', '.bss'))
        print(f'{name:28}' + ''.join(f'{counts[s]:>9}' for s in sections) + f'{loaded:>10}')
    print(f'\nlargest input files (sections loaded from the file, debug info left out):')
    for path, size in by_file.most_common(top):
        print(f'{size:>9}  {path}')


if __name__ == '__main__':
    main()
