"""The manifest checks of check_programs.py: each fault it looks for is reported, starting from the
manifests the programs carry."""

from pathlib import Path

import pytest

from check_programs import manifest_faults

REPO = Path(__file__).resolve().parents[1]
PANEL = (REPO / "panel/ui/panel.manifest").read_bytes()
UNINSTALLER = (REPO / "uninstall/ucorvane.manifest").read_bytes()
TRUST = b'<trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">'
COMMON_CONTROLS = (b'<dependency><dependentAssembly><assemblyIdentity type="win32" version="6.0.0.0" '
                   b'name="Microsoft.Windows.Common-Controls"/></dependentAssembly></dependency></assembly>')


def test_the_programs_manifests_pass():
    assert manifest_faults(PANEL, panel=True) == []
    assert manifest_faults(UNINSTALLER, panel=False) == []


@pytest.mark.parametrize("manifest, panel, fault", [
    (UNINSTALLER, True, "execution levels [('requireAdministrator', 'false')], expected asInvoker"),
    (PANEL, False, "execution levels [('asInvoker', 'false')], expected requireAdministrator"),
    (UNINSTALLER.replace(b'uiAccess="false"', b'uiAccess="true"'), False, "with uiAccess false"),
    (UNINSTALLER, True, "dpiAware [], expected true"),
    (PANEL.replace(b">true<", b">true/pm<"), True, "dpiAware ['true/pm'], expected true"),
    (PANEL.replace(b"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", b"{}"), True, "tested systems"),
    (PANEL.replace(b"</assembly>", COMMON_CONTROLS), True, "depends on Microsoft.Windows.Common-Controls"),
    (PANEL[:-20], True, "not well-formed XML"),
    (PANEL.replace(b"true", b"\xff"), True, "not UTF-8"),
    # The two forms that Windows XP does not start.
    (PANEL.replace(TRUST, TRUST[:-1] + b' xmlns:v3="urn:schemas-microsoft-com:asm.v3">'), True,
     "trustInfo declares 2 namespaces"),
    (PANEL.replace(b'<application xmlns="urn:schemas-microsoft-com:asm.v3">', b"<application>"), True,
     "puts ['{urn:schemas-microsoft-com:asm.v1}application'] in the asm.v1 namespace"),
])
def test_each_manifest_fault_is_reported(manifest, panel, fault):
    assert any(fault in found for found in manifest_faults(manifest, panel)), manifest_faults(manifest, panel)
