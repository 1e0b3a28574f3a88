#!/usr/bin/env python3
"""The release as shipped: the 32-bit game built twice in fresh folders (once alone, as make play configures
it) packs to the same zip and true SHA-256 sum, and its exe is SHIPPED_EXE, the one the 32-bit tests play,
without time stamp or debug sections, with its manifest.

Usage: release_test.py SOURCE_DIR SHIPPED_EXE"""
import hashlib, io, os, struct, subprocess, sys, tempfile, zipfile
import xml.etree.ElementTree as ET

SOURCE, failures = os.path.abspath(sys.argv[1]), []
WINDOWS_7_TO_11 = ('{35138b9a-5d96-4fbd-8e2d-a2440225f93a}', '{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}',
                   '{1f676c76-80e1-4239-95bb-83d0f6d0da78}', '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}')
# ({namespace}element, attribute or None for its text, value) that the manifest must hold: Windows reads
# an element only in its own namespace (dpiAware in another one leaves the game DPI-unaware on 7 and 8.1).
ASM, COMPATIBLE, SETTINGS = 'urn:schemas-microsoft-com:', '{urn:schemas-microsoft-com:compatibility.v1}', \
    'http://schemas.microsoft.com/SMI/'
WANTED = {(f'{{{ASM}asm.v3}}requestedExecutionLevel', 'level', 'asInvoker'),
          (f'{{{SETTINGS}2005/WindowsSettings}}dpiAware', None, 'true'),
          (f'{{{SETTINGS}2016/WindowsSettings}}dpiAwareness', None, 'system'),
          (f'{{{ASM}asm.v1}}assemblyIdentity', 'version', '6.0.0.0'),
          (f'{{{ASM}asm.v1}}assemblyIdentity', 'name', 'Microsoft.Windows.Common-Controls'),
          *((f'{COMPATIBLE}supportedOS', 'Id', os_id) for os_id in WINDOWS_7_TO_11)}


def check(ok, what):
    failures.extend([what] * (not ok)) or ok or print('FAIL:', what)


def check_exe(what, data):
    pe = struct.unpack_from('<I', data, 0x3c)[0]
    sections, stamp = struct.unpack_from('<HI', data, pe + 6)
    table = pe + 24 + struct.unpack_from('<H', data, pe + 20)[0]
    names = [data[table + 40 * i:table + 40 * i + 8].rstrip(b'\0') for i in range(sections)]
    check(stamp == 0 and not any(n.startswith(b'.debug') for n in names), f'{what}: stamp {stamp}, sections {names}')
    start, end = data.find(b'<assembly'), data.find(b'</assembly>')
    try:
        manifest = ET.fromstring(data[start:end + 11]) if 0 <= start < end else None
    except ET.ParseError as e:
        manifest = check(False, f'{what}: the manifest does not parse: {e}')
    found = {(e.tag, a, e.get(a) if a else (e.text or '').strip())
             for e in manifest.iter() for a in [None, *e.attrib]} if manifest is not None else set()
    check(WANTED <= found, f'{what}: the manifest lacks {WANTED - found}')
    check(not any(tag.endswith('}gdiScaling') for tag, _, _ in found), f'{what}: the manifest asks for GDI scaling')


def build_and_pack(folder, *options):
    build, zip_path = os.path.join(folder, 'win32'), os.path.join(folder, 'kvader-win32.zip')
    for command in (['cmake', '-S', SOURCE, '-B', build, '-G', 'Ninja', '-DCMAKE_BUILD_TYPE=Release',
                     f'-DCMAKE_TOOLCHAIN_FILE={SOURCE}/cmake/mingw-i686.cmake', *options],
                    ['cmake', '--build', build, '--target', 'kvader'],
                    [f'{SOURCE}/tools/pack-release', build, zip_path]):
        r = subprocess.run(command, capture_output=True, text=True)
        r.returncode and sys.exit(f'{" ".join(command)} failed:\n{r.stdout}{r.stderr}')
    return open(zip_path, 'rb').read(), open(zip_path + '.sha256').read()


with tempfile.TemporaryDirectory() as first, tempfile.TemporaryDirectory() as second:
    (zip1, sum1), (zip2, sum2) = build_and_pack(first), build_and_pack(second, '-DKVADER_GAME_ONLY=ON')
check(zip1 == zip2, 'two builds of the same commit pack different zips')
check(sum1 == f'{hashlib.sha256(zip1).hexdigest()}  kvader-win32.zip\n', f'the sum file is wrong: {sum1!r}')
with zipfile.ZipFile(io.BytesIO(zip1)) as z:
    check(z.namelist() == ['kvader.exe', 'kvader.dat', 'Manual_CZ.html'], f'the zip holds {z.namelist()}')
    check_exe('the 32-bit exe in the zip', z.read('kvader.exe'))
    check(z.read('kvader.exe') == open(sys.argv[2], 'rb').read(), f'the zip\'s exe is not {sys.argv[2]}')
print(f'{len(failures)} failures')
sys.exit(1 if failures else 0)
