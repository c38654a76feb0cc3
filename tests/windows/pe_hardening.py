"""Checks a Windows executable against the binary-hardening rules that apply to a MinGW build.

Usage: pe_hardening.py PROGRAM.exe

Each rule prints one line, PASS or FAIL with its rule id; the exit code is 1 when any fails.
Before the real file is judged, every rule is shown to fail on a copy with its property undone,
so that a rule that cannot fail is caught too.
"""

import sys

import pefile

DLL_NO_SEH = 0x0400
DLL_NX_COMPAT = 0x0100
DLL_DYNAMIC_BASE = 0x0040
DLL_HIGH_ENTROPY_VA = 0x0020
FILE_RELOCS_STRIPPED = 0x0001
FILE_LARGE_ADDRESS_AWARE = 0x0020
SECTION_EXECUTE = 0x20000000
SECTION_WRITE = 0x80000000

# What Windows itself ships: the program needs nothing beside it (no libssp-0.dll, no runtime).
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "advapi32.dll",
               "msvcrt.dll", "ole32.dll", "oleaut32.dll", "oleacc.dll"}


def is_64bit(pe):
    return pe.OPTIONAL_HEADER.Magic == 0x20B


def relocation_table(pe):
    entry = pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]]
    return entry.Size > 0 and not pe.FILE_HEADER.Characteristics & FILE_RELOCS_STRIPPED


def ba2009_aslr(pe):
    """BA2009 EnableAddressSpaceLayoutRandomization: DYNAMIC_BASE with a relocation table."""
    return bool(pe.OPTIONAL_HEADER.DllCharacteristics & DLL_DYNAMIC_BASE) and relocation_table(pe)


def ba2016_nx(pe):
    """BA2016 MarkImageAsNXCompatible: NX_COMPAT."""
    return bool(pe.OPTIONAL_HEADER.DllCharacteristics & DLL_NX_COMPAT)


def ba2015_high_entropy(pe):
    """BA2015 EnableHighEntropyVirtualAddresses (64-bit): HIGH_ENTROPY_VA, large-address aware."""
    if not is_64bit(pe):
        return None
    return (bool(pe.OPTIONAL_HEADER.DllCharacteristics & DLL_HIGH_ENTROPY_VA)
            and bool(pe.FILE_HEADER.Characteristics & FILE_LARGE_ADDRESS_AWARE)
            and ba2009_aslr(pe))


def ba2001_image_base(pe):
    """BA2001 LoadImageAboveFourGigabyteAddress (64-bit): an image base above 4 GiB."""
    if not is_64bit(pe):
        return None
    return pe.OPTIONAL_HEADER.ImageBase > 0xFFFFFFFF


def ba2018_safe_seh(pe):
    """BA2018 EnableSafeSEH (32-bit): NO_SEH, or a table of safe handlers."""
    if is_64bit(pe):
        return None
    if pe.OPTIONAL_HEADER.DllCharacteristics & DLL_NO_SEH:
        return True
    config = getattr(pe, "DIRECTORY_ENTRY_LOAD_CONFIG", None)
    return bool(config and getattr(config.struct, "SEHandlerCount", 0))


def ba2021_no_writable_code(pe):
    """BA2021 DoNotMarkWritableSectionsAsExecutable: no section both writable and executable."""
    return not any(s.Characteristics & SECTION_WRITE and s.Characteristics & SECTION_EXECUTE
                   for s in pe.sections)


def ba2010_imports_not_executable(pe):
    """BA2010 DoNotMarkImportsSectionAsExecutable: the import table is not executable."""
    entry = pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"]]
    section = pe.get_section_by_rva(entry.VirtualAddress)
    return section is not None and not section.Characteristics & SECTION_EXECUTE


def system_dlls_only(pe):
    """Imports: only DLLs that Windows ships."""
    names = {i.dll.decode().lower() for i in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])}
    return bool(names) and names <= SYSTEM_DLLS


RULES = [ba2009_aslr, ba2016_nx, ba2015_high_entropy, ba2001_image_base, ba2018_safe_seh,
         ba2021_no_writable_code, ba2010_imports_not_executable, system_dlls_only]


def undo_aslr(pe):
    pe.OPTIONAL_HEADER.DllCharacteristics &= ~DLL_DYNAMIC_BASE


def strip_relocations(pe):
    pe.FILE_HEADER.Characteristics |= FILE_RELOCS_STRIPPED


def undo_nx(pe):
    pe.OPTIONAL_HEADER.DllCharacteristics &= ~DLL_NX_COMPAT


def undo_high_entropy(pe):
    pe.OPTIONAL_HEADER.DllCharacteristics &= ~DLL_HIGH_ENTROPY_VA


def undo_large_address_aware(pe):
    pe.FILE_HEADER.Characteristics &= ~FILE_LARGE_ADDRESS_AWARE


def low_image_base(pe):
    pe.OPTIONAL_HEADER.ImageBase = 0x400000


def undo_no_seh(pe):
    pe.OPTIONAL_HEADER.DllCharacteristics &= ~DLL_NO_SEH


def writable_code(pe):
    code = next(s for s in pe.sections if s.Characteristics & SECTION_EXECUTE)
    code.Characteristics |= SECTION_WRITE


def executable_imports(pe):
    entry = pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"]]
    pe.get_section_by_rva(entry.VirtualAddress).Characteristics |= SECTION_EXECUTE


def import_libssp(pe):
    pe.DIRECTORY_ENTRY_IMPORT[0].dll = b"libssp-0.dll"


# Each property undone, and the rule that must then fail.
UNDONE = [(undo_aslr, ba2009_aslr), (strip_relocations, ba2009_aslr), (undo_nx, ba2016_nx),
          (undo_high_entropy, ba2015_high_entropy),
          (undo_large_address_aware, ba2015_high_entropy), (low_image_base, ba2001_image_base),
          (undo_no_seh, ba2018_safe_seh), (writable_code, ba2021_no_writable_code),
          (executable_imports, ba2010_imports_not_executable), (import_libssp, system_dlls_only)]


def rule_id(rule):
    return rule.__doc__.split(":")[0]


def main():
    path = sys.argv[1]
    failed = 0
    for undo, rule in UNDONE:
        pe = pefile.PE(path)
        if rule(pe) is None:
            continue  # the rule does not apply to this machine
        undo(pe)
        if rule(pe) is not False:
            print(f"FAIL: {rule_id(rule)} passes on a copy with {undo.__name__}")
            failed += 1
    pe = pefile.PE(path)
    for rule in RULES:
        verdict = rule(pe)
        if verdict is None:
            print(f"n/a  {rule.__doc__}")
        elif verdict:
            print(f"PASS {rule.__doc__}")
        else:
            print(f"FAIL {rule.__doc__}")
            failed += 1
    imports = sorted(i.dll.decode() for i in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []))
    print("imports:", " ".join(imports))
    print(f"{1 if failed == 0 else 0} passed, {1 if failed else 0} failed")
    sys.exit(1 if failed else 0)


main()
