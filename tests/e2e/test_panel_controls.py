"""The panel's controls under real use: each finished gesture sends exactly one message, typed
values apply when the box is left (Tab or Enter), and the buttons do what their captions say."""

import time

from test_panel_startup import (
    CAPTION, CHANNEL_FIRST, DECAY_LABEL, DELAY_FEEDBACK, DELAY_TIME, DIGITAL_REVERB, DIGITAL_TRANSPOSE,
    DIGITAL_TUNE, DIGITAL_VOLUME, MASTER_TRANSPOSE, MASTER_TRANSPOSE_SPIN, MASTER_TUNE, MASTER_VOLUME, PANIC,
    REPEAT_LABEL, REVERB_DECAY, REVERB_LEVEL, REVERB_TYPE, TARGET, TIME_LABEL, Panel, channel, digital,
    effect, key_shift, master_tune)


def thumb_centre(rect, position, high):
    """Where the trackbar draws its thumb on the screen: the channel is inset by a quarter of the
    thumb's length plus 3 pixels at each end, and the thumb (half its length wide, odd) moves
    across the rest of it."""
    left, top, right, bottom = rect
    thumb_length = 21
    inset = thumb_length // 4 + 3
    thumb_width = (thumb_length // 2) | 1
    travel = (right - inset) - (left + inset) - thumb_width
    x = left + inset + travel * position // high + thumb_width // 2
    return x, (top + bottom) // 2


def test_a_mouse_drag_sends_one_message_with_the_release_position(session):
    panel = Panel(session).start()
    panel.new_messages()
    rect = session.driver.control_rect(CAPTION, DIGITAL_REVERB)
    x, y = thumb_centre(rect, 100, 127)
    session.screen.mouse_drag(x, y, x - 40, y, steps=10)

    sent = panel.new_messages(wait_for=1)
    position = session.driver.trackbar_pos(CAPTION, DIGITAL_REVERB)
    assert position < 85, "the thumb did not follow the mouse (ended at %d)" % position
    assert sent == [digital(9, position)]
    # The release is reported twice by the platform's trackbar; nothing more may arrive.
    session.driver("noop")
    assert panel.new_messages() == []
    panel.close()


def test_keyboard_steps_each_send_once(session):
    panel = Panel(session).start()
    panel.new_messages()
    session.driver("focus", CAPTION, MASTER_VOLUME, "key", CAPTION, "LEFT")
    assert panel.new_messages() == [bytes([0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 126, 0xF7])]
    session.driver("key", CAPTION, "LEFT", "key", CAPTION, "LEFT")
    assert panel.new_messages() == [bytes([0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, v, 0xF7]) for v in (125, 124)]

    session.driver("focus", CAPTION, MASTER_TUNE, "key", CAPTION, "RIGHT")
    assert panel.new_messages() == [master_tune(1001)]
    session.driver("key", CAPTION, "PRIOR")  # a page step
    page = session.driver.trackbar_pos(CAPTION, MASTER_TUNE)
    assert page < 1001
    assert panel.new_messages() == [master_tune(page)]
    session.driver("key", CAPTION, "HOME")
    assert panel.new_messages() == [master_tune(0)]
    panel.close()


def test_typed_transpose_applies_on_tab_and_on_enter_without_closing(session):
    panel = Panel(session).start()
    panel.new_messages()

    session.driver("focus", CAPTION, MASTER_TRANSPOSE, "settext", CAPTION, MASTER_TRANSPOSE, "",
                   "type", CAPTION, MASTER_TRANSPOSE, "-12")
    assert panel.new_messages() == [], "nothing is sent while typing"
    session.driver("key", CAPTION, "TAB")
    assert panel.new_messages() == [key_shift(64 - 12)]

    session.driver("focus", CAPTION, DIGITAL_TRANSPOSE, "settext", CAPTION, DIGITAL_TRANSPOSE, "",
                   "type", CAPTION, DIGITAL_TRANSPOSE, "7", "key", CAPTION, "RETURN")
    assert panel.new_messages() == [digital(5, 64 + 7)]
    assert session.driver("windows")[0] == CAPTION, "Enter must not close the panel"
    assert panel.text(DIGITAL_TRANSPOSE) == "7"

    session.driver("focus", CAPTION, MASTER_TRANSPOSE, "settext", CAPTION, MASTER_TRANSPOSE, "",
                   "type", CAPTION, MASTER_TRANSPOSE, "24", "key", CAPTION, "RETURN")
    assert panel.new_messages() == [key_shift(88)]
    assert session.driver("windows")[0] == CAPTION
    panel.close()


def test_out_of_range_transpose_resets_to_zero_and_text_changes_nothing(session):
    panel = Panel(session).start()
    panel.new_messages()

    for box, typed in ((MASTER_TRANSPOSE, "25"), (MASTER_TRANSPOSE, "-25"), (MASTER_TRANSPOSE, "240")):
        session.driver("focus", CAPTION, box, "settext", CAPTION, box, "", "type", CAPTION, box, typed,
                       "key", CAPTION, "TAB")
        assert panel.new_messages() == [key_shift(64)], typed
        assert panel.text(box) == "0", typed

    session.driver("focus", CAPTION, DIGITAL_TRANSPOSE, "settext", CAPTION, DIGITAL_TRANSPOSE, "",
                   "type", CAPTION, DIGITAL_TRANSPOSE, "64", "key", CAPTION, "TAB")
    assert panel.new_messages() == [digital(5, 64)]
    assert panel.text(DIGITAL_TRANSPOSE) == "0"

    for box in (MASTER_TRANSPOSE, DIGITAL_TRANSPOSE):
        session.driver("focus", CAPTION, box, "settext", CAPTION, box, "", "type", CAPTION, box, "ab",
                       "key", CAPTION, "TAB")
        assert panel.new_messages() == [], "a text that is no number sends nothing"
        assert panel.text(box) == "ab"
    panel.close()


def test_the_up_down_arrows_change_the_number_and_leaving_the_box_sends_it(session):
    panel = Panel(session).start()
    panel.new_messages()
    left, top, right, bottom = session.driver.control_rect(CAPTION, MASTER_TRANSPOSE_SPIN)
    for _ in range(2):
        session.screen.mouse_click((left + right) // 2, top + (bottom - top) // 4)  # the upper arrow
    deadline = time.monotonic() + 10
    while panel.text(MASTER_TRANSPOSE) != "2" and time.monotonic() < deadline:
        time.sleep(0.1)
    assert panel.text(MASTER_TRANSPOSE) == "2"
    assert panel.new_messages() == [], "the arrows only change the box's number"
    session.driver("focus", CAPTION, MASTER_VOLUME)
    assert panel.new_messages() == [key_shift(66)]
    panel.close()


def test_enter_presses_nothing_and_the_alt_keys_move_the_focus_to_their_labels_controls(session):
    panel = Panel(session).start()
    panel.new_events()
    session.driver("focus", CAPTION, PANIC, "key", CAPTION, "RETURN")
    assert panel.new_events() == [], "Enter pressed the focused button"
    assert session.driver("windows")[0] == CAPTION

    # Real key presses (the accelerator table looks at the keyboard state). Alt+V, Alt+U, Alt+T
    # (from the table) and Alt+N (the label's own mnemonic) each move the focus and send nothing;
    # only a transpose box they leave applies its value.
    left, top, right, _ = session.driver.control_rect(CAPTION, 0)
    session.screen.mouse_click((left + right) // 2, top + 8)
    session.driver("focus", CAPTION, MASTER_TRANSPOSE, "settext", CAPTION, MASTER_TRANSPOSE, "",
                   "type", CAPTION, MASTER_TRANSPOSE, "-5")
    for key, control, sent in (("alt+v", MASTER_VOLUME, [key_shift(59)]), ("alt+u", DIGITAL_TUNE, []),
                               ("alt+t", MASTER_TRANSPOSE, []), ("alt+n", MASTER_TUNE, [key_shift(59)])):
        session.screen.press_keys(key)
        deadline = time.monotonic() + 10
        while session.driver("focused", CAPTION)[0] != str(control) and time.monotonic() < deadline:
            time.sleep(0.1)
        assert session.driver("focused", CAPTION)[0] == str(control), key
        assert panel.new_messages() == sent, key
    assert session.driver("windows")[0] == CAPTION
    panel.close()


def test_typed_type_name_selects_it_on_leaving_the_box(session):
    panel = Panel(session).start()
    session.driver("select", CAPTION, REVERB_TYPE, 0)
    assert panel.new_messages()[-1:] == [effect(0, 0)]

    for typed in ("hall 2", "HALL 2", "hAlL 2"):
        session.driver("focus", CAPTION, REVERB_TYPE, "settext", CAPTION, REVERB_TYPE, "",
                       "type", CAPTION, REVERB_TYPE, typed, "key", CAPTION, "TAB")
        assert panel.new_messages() == [effect(0, 4)], typed
        assert session.driver("cursel", CAPTION, REVERB_TYPE) == ["4"]
        assert panel.text(REVERB_TYPE) == "Hall 2"

    session.driver("focus", CAPTION, REVERB_TYPE, "settext", CAPTION, REVERB_TYPE, "",
                   "type", CAPTION, REVERB_TYPE, "x", "key", CAPTION, "TAB")
    assert panel.new_messages() == [], "a text that begins no type changes nothing"
    panel.close()
    assert panel.stored().dword("RTyp") == 4


def test_delay_types_show_time_and_repeat_instead_of_decay(session):
    panel = Panel(session).start()
    panel.new_messages()
    for index, delay in ((6, True), (5, False), (7, True), (0, False)):
        session.driver("select", CAPTION, REVERB_TYPE, index)
        assert panel.new_messages() == [effect(0, index)]
        assert panel.visible(REVERB_DECAY) != delay and panel.visible(DECAY_LABEL) != delay
        for control in (DELAY_TIME, TIME_LABEL, DELAY_FEEDBACK, REPEAT_LABEL):
            assert panel.visible(control) == delay, (index, control)
    panel.close()


def test_a_channel_box_toggles_its_part(session):
    panel = Panel(session).start()
    panel.new_messages()
    box = CHANNEL_FIRST + 9  # channel 10
    session.driver.click(CAPTION, box)
    assert panel.new_messages() == [bytes.fromhex("F0 41 10 56 12 01 00 00 10 6F F7")]
    assert session.driver.checked(CAPTION, box) == 0
    session.driver.click(CAPTION, box)
    assert panel.new_messages() == [channel(9, True)]
    assert session.driver.checked(CAPTION, box) == 1
    session.driver.click(CAPTION, CHANNEL_FIRST)
    assert panel.new_messages() == [channel(0, False)]
    panel.close()
    assert panel.stored().dword("Mute") == 0xFFFE


def test_panic_resets_the_interface_and_sends_nothing_else(session):
    panel = Panel(session).start()
    panel.new_events()
    session.driver.click(CAPTION, PANIC)
    assert [str(e) for e in panel.new_events()] == [
        "OUT 0333 80", "CLI", "OUT 0331 FF", "IN 0330 FE", "OUT 0331 3F", "STI"]
    # The card still takes messages afterwards.
    session.driver("focus", CAPTION, REVERB_LEVEL, "key", CAPTION, "RIGHT")
    assert panel.new_messages() == [effect(1, 65)]
    panel.close()


def test_the_target_button_cycles_and_moves_the_digital_messages(session):
    panel = Panel(session).start()
    panel.new_messages()
    volume = 127
    for caption, target in (("Le&ft", "left"), ("Ri&ght", "right"), ("&Stereo", "stereo")):
        session.driver.click(CAPTION, TARGET)
        assert panel.text(TARGET) == caption
        assert panel.new_messages() == [], "switching the target sends nothing"
        session.driver("focus", CAPTION, DIGITAL_VOLUME, "key", CAPTION, "LEFT")
        volume -= 1
        assert panel.new_messages() == [digital(2, volume, target)], caption
    panel.close()
