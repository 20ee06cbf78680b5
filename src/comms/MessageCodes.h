// The actions run after a message is delivered, selected by its code; they chain the steps of an exchange.
#pragma once

struct messaggio;

/// Runs the action of the message's code with the message's sender (nothing for code 0 or a code without
/// an action).
void Queue_RunMessageAction(const messaggio &m);

/// The read-back step of a code: unless the read-back dialog is already open, remembers the code in
/// gReadbackMessage and, with withResponse, the message's readbackText in gResponse, for the read-back
/// dialog of the given height.
void Queue_ReadbackStep(const messaggio &m, bool withResponse, int height);

/// Height the read-back dialog is asked to open with by the last read-back step (80, or 100 with an extra
/// button).
extern int gReadbackDialogHeight;
