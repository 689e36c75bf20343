// The view as the machine jobs' runners see it: its timer, homing, tool
// change, position readout and panel copies. Every job runner of the view
// runs with one of these.
#pragma once

#include "machining/job_runner.h"
#include "machining/registration_holes.h"
#include "view/velm_view.h"

#include <vector>

class CViewRunner : public CRunnerView {
public:
    explicit CViewRunner(CVelmView& view) : m_View(view) {}
    void MachineHome() override { m_View.MachineHome(); }
    void StartTimer() override { m_View.m_TimerId = m_View.StartTimer(1, 30); }
    void StopTimer() override { m_View.StopTimer(); }
    void UpdatePositionDisplay() override { m_View.UpdatePositionDisplay(); }
    void ChangeTool(const std::string& prompt, int detect) override
    {
        m_View.ChangeTool(prompt, detect);
    }
    const COwnedList<CLayoutBlock>& Blocks() const override { return m_View.m_BlockList; }
    int& ResumeCount() override { return m_View.m_ResumeCount; }
    int& ToolChangeRequest() override { return m_View.m_ToolChangeRequest; }
    int& LargeHoleMode() override { return m_View.m_LargeHoleMode; }
    void SaveResumeProject() override;
    CDPoint DetectPoint() const override;
    void AtcManualExchange(const std::string& prompt) override { m_View.AtcManualExchange(prompt); }
    void AtcDrillTool(const std::string& prompt) override { m_View.AtcDrillTool(prompt); }
    void AtcExchangeTool(const std::string& prompt) override { m_View.AtcExchangeTool(prompt); }

private:
    CVelmView& m_View;
};

// The holes of the registration-hole text (read as millimetres whatever the
// drill format says), in the text's order.
std::vector<CRegistrationHole> ReadRegistrationHoles();
