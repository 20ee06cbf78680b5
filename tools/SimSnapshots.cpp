// Pictures of the simulated screen as windows open (vellomir-sim --snapshots).
#include "SimSnapshots.h"

#include <cctype>
#include <cstdio>

#include "Harness.h"

std::string SimSnapshots_FileName(const std::string &title)
{
    std::string name;
    for (char c : title) {
        if (isalnum((unsigned char)c))
            name += (char)tolower((unsigned char)c);
        else if (!name.empty() && name.back() != '-')
            name += '-';
    }
    while (!name.empty() && name.back() == '-')
        name.pop_back();
    return name.empty() ? "window" : name;
}

bool SimSnapshots::Write(const std::string &name, void *window, std::string &error)
{
    char number[16];
    snprintf(number, sizeof number, "%03d-", ++count);
    std::string path = folder + "/" + number + name + ".png";
    if (!simhost::WriteSnapshot(path, error, window))
        return false;
    printf("[%7.2f] PICT %s\n", simhost::ElapsedTime(), path.c_str());
    return true;
}

bool SimSnapshots::Look(std::string &error)
{
    if (folder.empty())
        return true;
    std::set<void *> now;
    for (const std::string &title : simhost::WidgetWindowTitles()) {
        void *window = simhost::FindWindowByTitle(title);
        if (window == nullptr || !now.insert(window).second || open.count(window) != 0)
            continue;
        if (!Write(SimSnapshots_FileName(title), window, error))
            return false;
    }
    open = now;
    // The dialogue box is the dark box with the radio messages written inside it.
    bool text = false;
    for (const simhost::DrawnBox &box : simhost::FrameBoxes())
        for (const simhost::DrawnString &s : simhost::FrameStrings())
            text = text || (!s.text.empty() && s.x >= box.left && s.x < box.right && s.y >= box.bottom && s.y < box.top);
    if (text && !dialogue && !Write("dialogue-box", nullptr, error))
        return false;
    dialogue = text;
    return true;
}

bool SimSnapshots::Last(std::string &error)
{
    return folder.empty() || Write("screen", nullptr, error);
}
