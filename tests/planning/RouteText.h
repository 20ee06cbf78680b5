// Helpers of the planning tests: a route as text and its levels, and settings restored after a test.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "state/Pilot.h"

/// The route as "NAME/order" words.
inline std::string RouteNames(const pilot &record)
{
    std::string out;
    for (const pilot::flightPlanLoc &loc : record.flightPlanVec)
        out += (out.empty() ? "" : " ") + loc.name + "/" + std::to_string(loc.order);
    return out;
}

/// The level of each waypoint, in hundreds of feet.
inline std::vector<int> RouteLevels(const pilot &record)
{
    std::vector<int> out;
    for (const pilot::flightPlanLoc &loc : record.flightPlanVec)
        out.push_back(loc.fl);
    return out;
}

/// Gives the settings named back their values when it goes (the settings live as long as the process).
class KeepSettings
{
  public:
    KeepSettings(std::initializer_list<int *> settings)
    {
        for (int *setting : settings)
            saved_.emplace_back(setting, *setting);
    }
    ~KeepSettings()
    {
        for (const auto &s : saved_)
            *s.first = s.second;
    }

  private:
    std::vector<std::pair<int *, int>> saved_;
};
