#!/usr/bin/env python3
"""The release as shipped: the 32-bit game built twice, in two fresh folders (once
alone, as make play builds), packs to the same zip bytes with a true SHA-256 sum beside it; each game exe given (and
the one in the zip) is stripped, carries no link time stamp, and holds a manifest,
resource 1 of type RT_MANIFEST, that parses and asks for what the README says.

Usage: release_test.py SOURCE_DIR EXE..."""
import hashlib
import os
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile

SOURCE = os.path.abspath(sys.argv[1])
NS = {'v1': 'urn:schemas-microsoft-com:asm.v1', 'v3': 'urn:schemas-microsoft-com:asm.v3',
      'compat': 'urn:schemas-microsoft-com:compatibility.v1',
      'ws2005': 'http://schemas.microsoft.com/SMI/2005/WindowsSettings',
      'ws2016': 'http://schemas.microsoft.com/SMI/2016/WindowsSettings',
      'ws2017': 'http://schemas.microsoft.com/SMI/2017/WindowsSettings'}
SUPPORTED_OS = {'{35138b9a-5d96-4fbd-8e2d-a2440225f93a}': 'Windows 7', '{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}':
                'Windows 8', '{1f676c76-80e1-4239-95bb-83d0f6d0da78}': 'Windows 8.1',
                '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}': 'Windows 10 and 11'}
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print('FAIL:', what)


def pe_parts(data):
    """The link time stamp, the section names and the bytes of the first language of
    resource 1 of type 24 (None when missing) of a PE image."""
    pe = struct.unpack_from('<I', data, 0x3c)[0]
    sections, stamp = struct.unpack_from('<HI', data, pe + 6)
    optional_size = struct.unpack_from('<H', data, pe + 20)[0]
    optional = pe + 24
    directories = optional + (96 if struct.unpack_from('<H', data, optional)[0] == 0x10b else 112)
    resource_rva = struct.unpack_from('<I', data, directories + 16)[0]
    table = [struct.unpack_from('<8sIIII', data, optional + optional_size + 40 * i) for i in range(sections)]
    names = [t[0].rstrip(b'\0').decode() for t in table]

    def offset(rva):
        return next(ptr + rva - va for _, size, va, raw, ptr in table if va <= rva < va + max(size, raw))

    if resource_rva == 0:
        return stamp, names, None
    base = offset(resource_rva)

    def entry(directory, wanted):
        named, ids = struct.unpack_from('<HH', data, directory + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from('<II', data, directory + 16 + 8 * i)
            if wanted is None or name == wanted:
                return base + (target & 0x7fffffff)
        return None

    manifests = entry(base, 24)
    first = manifests and entry(manifests, 1)
    language = first and entry(first, None)
    if not language:
        return stamp, names, None
    rva, size = struct.unpack_from('<II', data, language)
    return stamp, names, data[offset(rva):offset(rva) + size]


def check_exe(what, data):
    stamp, sections, manifest = pe_parts(data)
    check(stamp == 0, f'{what}: a link time stamp {stamp}')
    check(not any(s.startswith('.debug') or s == '.stab' for s in sections), f'{what}: not stripped: {sections}')
    if manifest is None:
        return check(False, f'{what}: no manifest')
    try:
        root = ET.fromstring(manifest)
    except ET.ParseError as e:
        return check(False, f'{what}: the manifest does not parse: {e}')
    level = root.find('v3:trustInfo/v3:security/v3:requestedPrivileges/v3:requestedExecutionLevel', NS)
    check(level is not None and level.get('level') == 'asInvoker', f'{what}: not asInvoker')
    found = {os.get('Id') for os in root.findall('compat:compatibility/compat:application/compat:supportedOS', NS)}
    check(found == set(SUPPORTED_OS), f'{what}: supported systems {found}')
    controls = [a.attrib for a in root.findall('v1:dependency/v1:dependentAssembly/v1:assemblyIdentity', NS)]
    check({'name': 'Microsoft.Windows.Common-Controls', 'version': '6.0.0.0'}.items() <= (controls or [{}])[0].items(),
          f'{what}: no Common Controls 6: {controls}')
    settings = root.find('v3:application/v3:windowsSettings', NS)
    got = [settings.findtext(k, namespaces=NS) if settings is not None else None
           for k in ('ws2005:dpiAware', 'ws2016:dpiAwareness', 'ws2017:gdiScaling')]
    check(got == ['false', 'unaware', 'true'], f'{what}: DPI settings {got}, expected unaware with GDI scaling')


def build_and_pack(folder, *options):
    build = os.path.join(folder, 'win32')
    for command in (['cmake', '-S', SOURCE, '-B', build, '-G', 'Ninja', '-DCMAKE_BUILD_TYPE=Release',
                     f'-DCMAKE_TOOLCHAIN_FILE={SOURCE}/cmake/mingw-i686.cmake', *options],
                    ['cmake', '--build', build, '--target', 'kvader'],
                    [os.path.join(SOURCE, 'tools', 'pack-release'), build, os.path.join(folder, 'kvader-win32.zip')]):
        r = subprocess.run(command, capture_output=True, text=True)
        if r.returncode:
            sys.exit(f'{" ".join(command)} failed:\n{r.stdout}{r.stderr}')
    with open(os.path.join(folder, 'kvader-win32.zip'), 'rb') as z, \
            open(os.path.join(folder, 'kvader-win32.zip.sha256')) as s:
        return z.read(), s.read()


with tempfile.TemporaryDirectory() as first, tempfile.TemporaryDirectory() as second:
    # The second as make play configures it: the game alone, with its files beside it.
    (zip1, sum1), (zip2, sum2) = build_and_pack(first), build_and_pack(second, '-DKVADER_GAME_ONLY=ON')
check(zip1 == zip2, 'two builds of the same commit pack different zips')
check(sum1 == f'{hashlib.sha256(zip1).hexdigest()}  kvader-win32.zip\n', f'the sum file is wrong: {sum1!r}')
with tempfile.TemporaryDirectory() as folder:
    path = os.path.join(folder, 'release.zip')
    with open(path, 'wb') as f:
        f.write(zip1)
    with zipfile.ZipFile(path) as z:
        check(z.namelist() == ['kvader.exe', 'kvader.dat', 'Manual_CZ.html'], f'the zip holds {z.namelist()}')
        check_exe('the 32-bit exe in the zip', z.read('kvader.exe'))
for exe in sys.argv[2:]:
    with open(exe, 'rb') as f:
        check_exe(exe, f.read())
print(f'{len(failures)} failures')
sys.exit(1 if failures else 0)
