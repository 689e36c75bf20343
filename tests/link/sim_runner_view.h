// The view the job runners see in the link tests: the machine homed with the
// test's controller set-up, the timer as a flag, the real tool change, and
// the prompts and detection requests it was given.
#pragma once

#include "machining/homing.h"
#include "machining/job_runner.h"
#include "machining/tool_change.h"

#include <functional>
#include <string>
#include <vector>

class CSimRunnerView : public CRunnerView {
public:
    COwnedList<CLayoutBlock> blocks;
    int resume = 0, request = 0, large = 0;
    bool timer = false;
    std::vector<std::string> prompts;
    std::vector<int> detects;
    CDPoint detectPoint{0.0, 0.0};
    // What the homing does to the controller after its reset; nothing when empty.
    std::function<void()> homeSetUp;

    void MachineHome() override { ::MachineHome(homeSetUp); }
    void StartTimer() override { timer = true; }
    void StopTimer() override { timer = false; }
    void ChangeTool(const std::string& prompt, int detect) override
    {
        prompts.push_back(prompt);
        detects.push_back(detect);
        ::ChangeTool(*this, prompt, detect);
    }
    const COwnedList<CLayoutBlock>& Blocks() const override { return blocks; }
    int& ResumeCount() override { return resume; }
    int& ToolChangeRequest() override { return request; }
    int& LargeHoleMode() override { return large; }
    CDPoint DetectPoint() const override { return detectPoint; }
};
