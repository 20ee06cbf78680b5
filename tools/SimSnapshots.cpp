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

bool SimSnapshots::WriteBox(const simhost::DrawnBox &box, std::string &error)
{
    const int margin = 8;
    simhost::Image screen;
    if (!simhost::RenderScreen(screen, error))
        return false;
    simhost::Image part =
        simhost::CropImage(screen, box.left - margin, box.top + margin, box.right + margin, box.bottom - margin);
    char number[16];
    snprintf(number, sizeof number, "%03d-", ++count);
    std::string path = folder + "/" + number + "dialogue-box.png";
    if (!simhost::WritePng(part, path, error))
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
    simhost::DrawnBox dialogueBox;
    bool text = false;
    for (const simhost::DrawnBox &box : simhost::FrameBoxes())
        for (const simhost::DrawnString &s : simhost::FrameStrings())
            if (!s.text.empty() && s.x >= box.left && s.x < box.right && s.y >= box.bottom && s.y < box.top) {
                dialogueBox = box;
                text = true;
            }
    if (text && !dialogue && !WriteBox(dialogueBox, error))
        return false;
    dialogue = text;
    return true;
}

bool SimSnapshots::Last(std::string &error)
{
    return folder.empty() || Write("screen", nullptr, error);
}
