// The actions run after a message is delivered, selected by its code; they chain the steps of an exchange.
#pragma once

struct messaggio;

/// Code of the pilot's "Say again": once it is delivered the last controller message that asked for a
/// read-back goes on the air again.
enum { MESSAGE_CODE_SAY_AGAIN = 9 };

/// Runs the action of the message's code with the message's sender (nothing for code 0 or a code without
/// an action).
void Queue_RunMessageAction(const messaggio &m);

/// The read-back step of a code. When the message before it was not heard on the tuned facility the
/// exchange ends there (the flight's gIsCopiing cleared). Otherwise, unless the read-back dialog is already
/// open, remembers the code in gReadbackMessage and, with withResponse, the message's readbackText in
/// gResponse, and opens the read-back dialog of the given height, offering "Other runway" with otherRunway.
/// The extra buttons asked for a read-back that does not open are forgotten.
void Queue_ReadbackStep(const messaggio &m, bool withResponse, int height, bool otherRunway = false);

/// Height the read-back dialog is asked to open with by the last read-back step (80, or 100 with an extra
/// button).
extern int gReadbackDialogHeight;
