// The codes of g_JobCode: 0 while the machine is idle, else the job that
// runs. Every job command, runner and menu rule names them from here.
#pragma once

constexpr int JOB_IDLE = 0;
constexpr int JOB_DRILL = 1;
constexpr int JOB_ISOLATE = 2;
constexpr int JOB_MILL = 3;
constexpr int JOB_ROUTE = 4;
constexpr int JOB_ISOLATE_MILL = 5;
constexpr int JOB_SURFACE_PROBE = 6;
constexpr int JOB_DRILL_REG_HOLES = 7;
constexpr int JOB_ENGRAVE = 12;
constexpr int JOB_ENGRAVE_SELECTION = 13;
constexpr int JOB_ENGRAVE_CAM = 15;
constexpr int JOB_ENGRAVE_REG_HOLES = 16;
constexpr int JOB_DRILL_PREVIEW = 17;
constexpr int JOB_MANUAL_ENGRAVE = 18;
constexpr int JOB_MANUAL_DRILL = 19;
constexpr int JOB_FIND_LOCATING_HOLES = 20;
// A tool change runs; the code before it comes back afterwards.
constexpr int JOB_TOOL_CHANGE = 100;

// A job command treats any code below 1 as idle.
inline bool JobIdle(int code) { return code < 1; }
