// vellomir-sim's --snapshots DIR: a picture of every widget window as it opens, of the dialogue box (the
// translucent dark box) each time it shows text after showing none, and of the whole screen at the end.
#pragma once

#include <set>
#include <string>

#include "Harness.h"

struct SimSnapshots {
    std::string folder; ///< empty: no pictures
    int count = 0;
    std::set<void *> open; ///< widget windows on screen at the last look
    bool dialogue = false; ///< the dialogue box showed text at the last look

    /// Looks at the screen (after every frame and event) and writes the pictures of what appeared, named
    /// NNN-title.png (the window's title in lower case, words joined by "-") and NNN-dialogue-box.png.
    /// False, with the reason, when a picture cannot be written.
    bool Look(std::string &error);
    /// The whole screen at the end of the run: NNN-screen.png.
    bool Last(std::string &error);

  private:
    bool Write(const std::string &name, void *window, std::string &error);
    bool WriteBox(const simhost::DrawnBox &box, std::string &error);
};

/// A window title as a file name: letters and digits in lower case, other runs of characters as one "-".
std::string SimSnapshots_FileName(const std::string &title);
