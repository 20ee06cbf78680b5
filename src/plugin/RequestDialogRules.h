// The frame driver's last steps: the read-back command, and which request dialog the tuned frequency and
// the flight's state call for.
#pragma once

class pilot;

/// A request dialog: its title and the size it opens with; title null for none.
struct RequestDialogKind {
    const char *title = nullptr;
    int width = 0, height = 0;
};

/// The dialog the record's tuned facility and state call for at elapsed time now, when the radio and the screen are free
/// for it (no read-back or choice window, no exchange, an empty queue, nothing on the air).
RequestDialogKind FrameDriver_WantedDialog(const pilot &record, float now);
/// Answers a pending read-back command once: the read-back window's "Readback" when it is open; the
/// command is forgotten either way.
void FrameDriver_ReadbackCommand();
/// Opens, rebuilds or closes the request dialog: it is built when none is open and one is wanted, built
/// again only when the wanted title or set of buttons changes, and closed when COM1 changes or nothing
/// is wanted any more.
void FrameDriver_ManageRequestDialog(pilot &record, float now);
