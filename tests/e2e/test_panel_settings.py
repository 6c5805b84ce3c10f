"""The panel's settings in the registry: created on the first exit, read back on the next start,
kept when Windows ends the session while the panel is open; the card model sits at the stored port."""

from test_panel_startup import (
    CAPTION, CHANNEL_FIRST, DEFAULTS, DIGITAL_TRANSPOSE, KEY, MASTER_VOLUME, PANIC, REVERB_TYPE, RUN_DIR, Panel,
    reg_text, startup_push)


def assert_stored(key, expected):
    assert key is not None, "the panel's key is missing"
    assert key.klass == "Tambrel"
    # The 23 settings, and the chosen MIDI output beside them: empty, the card's ports.
    assert sorted(key.values) == sorted(list(DEFAULTS) + ["MOut"]), "the key must hold exactly the 23 values and MOut"
    assert key.values["MOut"] == ("REG_SZ", "")
    for name, value in expected.items():
        assert key.values[name] == ("REG_DWORD", value), name


def test_first_exit_creates_the_key_with_all_defaults(session):
    assert session.registry.query(KEY) is None
    panel = Panel(session).start()
    panel.close()
    assert_stored(panel.stored(), DEFAULTS)


def test_stored_values_load_and_missing_or_out_of_range_ones_get_defaults(session):
    seeded = {"Port": 0x00010330, "MVol": 100, "Mute": 0x0000, "DTrn": 70, "CDep": 1, "RTyp": 2}
    broken = {"CFed": 200, "MTrn": 30, "MTun": 2000, "RTyp2": 0}
    session.registry.import_text(reg_text(dict(seeded, **broken)))
    panel = Panel(session).start()

    # Only the low word of the port addresses the card; the messages reach 0330 all the same.
    assert panel.new_messages() == startup_push(seeded)
    panel.close()
    key = panel.stored()
    expected = dict(DEFAULTS, **seeded)
    assert key.values.pop("RTyp2") == ("REG_DWORD", 0), "a value the panel does not know stays untouched"
    assert_stored(key, expected)


def test_changes_survive_a_restart(session):
    panel = Panel(session).start()
    session.driver("focus", CAPTION, MASTER_VOLUME, "key", CAPTION, "HOME",
                   "select", CAPTION, REVERB_TYPE, 6,
                   "click", CAPTION, CHANNEL_FIRST + 15,
                   "focus", CAPTION, DIGITAL_TRANSPOSE, "settext", CAPTION, DIGITAL_TRANSPOSE, "",
                   "type", CAPTION, DIGITAL_TRANSPOSE, "-3", "key", CAPTION, "RETURN")
    changed = {"MVol": 0, "RTyp": 6, "Mute": 0x7FFF, "DTrn": 61}
    assert len(panel.new_messages()) == 35 + 4
    panel.close()
    assert_stored(panel.stored(), dict(DEFAULTS, **changed))

    again = Panel(session).start()
    assert again.new_messages() == startup_push(changed)
    assert session.driver.checked(CAPTION, CHANNEL_FIRST + 15) == 0
    assert again.text(DIGITAL_TRANSPOSE) == "-3"
    again.close()


def test_ending_the_windows_session_saves_the_settings(session):
    panel = Panel(session).start()
    session.driver("focus", CAPTION, MASTER_VOLUME, "key", CAPTION, "LEFT")
    assert session.driver("endsession", CAPTION) == ["1"], "the panel must agree to the session's end"
    # The session ends without the dialog ever closing: the registry is what the panel wrote.
    key = panel.stored()
    assert_stored(key, dict(DEFAULTS, MVol=126))


def test_the_card_model_answers_at_the_stored_port(session):
    session.registry.import_text(reg_text({"Port": 0x300}))
    process = session.wine.start(session.bin("TambrelSim.exe"), cwd=RUN_DIR)
    session.driver.wait_window(CAPTION, 30000)
    # A driver step is handled after the panel's own check of the push: a fault box would be up.
    assert session.driver("focus", CAPTION, MASTER_VOLUME, "windows")[1] == CAPTION
    assert session.sysex(RUN_DIR, data_port=0x300) == startup_push()
    events = session.trace(RUN_DIR)
    assert all(str(e).startswith("OUT 0300 ") for e in events)
    assert [e.note for e in events if e.note][:2] == ["master volume 127", "digital-audio volume 127 (Stereo)"]
    session.driver.click(CAPTION, PANIC)
    assert [str(e) for e in session.trace(RUN_DIR)[len(events):]] == [
        "OUT 0303 80", "CLI", "OUT 0301 FF", "IN 0300 FE", "OUT 0301 3F", "STI"]
    session.driver.close_window(CAPTION)
    assert process.wait(30) == 0
