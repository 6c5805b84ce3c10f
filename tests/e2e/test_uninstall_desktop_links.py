"""The uninstaller's shortcut sweep stays on the desktop: a desktop folder that is a link to
somewhere else (here a Unix symbolic link, which Wine lists as a folder with the reparse-point
attribute) is neither walked nor removed, and the folder holding it stays."""

import os

from test_uninstall_removal import (CAPTION, GONE_FOLDERS, GONE_SHORTCUTS, PROGRAM,
                                    run_uninstaller, seed, tree)


def link_folder(link, target):
    """A relative symbolic link, so that the prefix stays self-contained."""
    link.parent.mkdir(parents=True, exist_ok=True)
    os.symlink(os.path.relpath(target, link.parent), link, target_is_directory=True)


def make_shortcuts(session, *links):
    """Shortcuts to the panel's program at the given Windows paths."""
    args = []
    for link in links:
        session.paths.host_path(link).parent.mkdir(parents=True, exist_ok=True)
        args += [link, PROGRAM]
    made = session.wine.run(session.test_bin("ucorvane_make_links.exe"), *args)
    assert made.returncode == 0, made.stderr


def uninstall(session):
    proc = run_uninstaller(session)
    session.driver.click(CAPTION, 1)
    assert proc.wait(60) == 0


def test_a_desktop_folder_linked_outside_is_left_alone(session):
    seed(session)
    make_shortcuts(session, r"C:\Outside\Sub\Corvane.lnk")
    outside = session.paths.host_path(r"C:\Outside")
    link = session.paths.desktop_dir / "LinkToOutside"
    link_folder(link, outside)
    desktop_before = tree(session.paths.desktop_dir)
    outside_before = tree(outside)
    assert "LinkToOutside" in desktop_before and r"Sub\Corvane.lnk" in outside_before

    uninstall(session)

    assert tree(outside) == outside_before
    assert link.is_symlink() and link.resolve() == outside.resolve()
    # The desktop's own shortcuts to the panel are gone all the same.
    assert tree(session.paths.desktop_dir) == desktop_before - GONE_SHORTCUTS - GONE_FOLDERS


def test_a_link_back_to_an_ancestor_does_not_lead_the_walk_round(session):
    seed(session)
    # Desktop\Folders\Home leads back to the user's folder, which holds the desktop itself.
    make_shortcuts(session, session.paths.win_path(session.paths.desktop_dir / "Folders" / "Corvane.lnk"),
                   session.paths.win_path(session.paths.user_dir / "Corvane.lnk"))
    home = session.paths.desktop_dir / "Folders" / "Home"
    link_folder(home, session.paths.user_dir)
    desktop_before = tree(session.paths.desktop_dir)

    uninstall(session)

    assert (session.paths.user_dir / "Corvane.lnk").is_file()
    # Folders keeps the link, so it stays; its own shortcut is gone.
    assert home.is_symlink() and home.resolve() == session.paths.user_dir.resolve()
    assert tree(session.paths.desktop_dir) == (desktop_before - GONE_SHORTCUTS - GONE_FOLDERS
                                         - {r"Folders\Corvane.lnk"})
