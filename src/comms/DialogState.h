// Open flags of the request and read-back windows, and the read-back command's request.
#pragma once

extern int dialogIsOpen;          ///< the ATC request dialog exists
extern int readbackWinIsOpen;     ///< the read-back window exists
extern int readBackCustomCommand; ///< set by the read-back command; consumed as a press of "Readback"
