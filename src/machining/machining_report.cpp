// The machining report window and the sums by tool-path name.
#include "machining/machining_report.h"

#include "platform/program_objects.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "ui/line_control.h"

#include <cmath>
#include <utility>
#include <vector>

namespace {

template <typename T>
class CNameSums {
public:
    static constexpr std::size_t kEntries = 255;
    T Add(const std::string& name, T value)
    {
        if (name == "Reset") {
            m_Entries.clear();
            return T(0);
        }
        for (auto& entry : m_Entries)
            if (entry.first == name)
                return entry.second += value;
        if (m_Entries.size() < kEntries)
            m_Entries.emplace_back(name, value);
        return value;
    }

private:
    std::vector<std::pair<std::string, T>> m_Entries;
};

CNameSums<float> s_RapidLengths;
CNameSums<float> s_CutLengths;
CNameSums<int> s_PlungeCounts;
const CProgramObjectReset s_Reset([] {
    s_RapidLengths = CNameSums<float>();
    s_CutLengths = CNameSums<float>();
    s_PlungeCounts = CNameSums<int>();
});

// Seconds for a distance at a speed; nothing for a speed not above 0.
double Seconds(double distance, double speed) { return speed > 0.0 ? distance / speed : 0.0; }

}  // namespace

float AddRapidLength(const std::string& name, float value) { return s_RapidLengths.Add(name, value); }
float AddCutLength(const std::string& name, float value) { return s_CutLengths.Add(name, value); }
int AddPlungeCount(const std::string& name, int value) { return s_PlungeCounts.Add(name, value); }

CMachiningReportDlg::CMachiningReportDlg() : CDialog(IDD_MACHINING_REPORT)
{
    m_ReportText.SetChangeHandler([this] { ShowText(); });
}

int CMachiningReportDlg::CreateModeless()
{
    if (m_Open || IsWindow())
        return 0;
    m_Open = 1;
    return CDialog::CreateModeless() ? 1 : 0;
}

bool CMachiningReportDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowText();
    return true;
}

void CMachiningReportDlg::OnOK() { ShowWindow(false); }

void CMachiningReportDlg::ShowText() { ShowLinesInControl(*this, IDC_MR_TEXT, m_ReportText); }

int WriteToolTimeSummary(const std::string& name)
{
    const double rapid = AddRapidLength(name, 0.0f);
    const double cut = AddCutLength(name, 0.0f);
    const int plunges = AddPlungeCount(name, 0);
    const double perMM = g_XYPulsesPerMM > 0.0f ? g_XYPulsesPerMM : 0.0;
    const double rapidMM = perMM > 0.0 ? rapid / perMM : 0.0;
    const double cutMM = perMM > 0.0 ? cut / perMM : 0.0;
    const double plungeTime = g_PlungeSpeed > 0.0f ? plunges / double(g_PlungeSpeed) * 2.0 : 0.0;
    const double total = plungeTime + (Seconds(cutMM, g_EngraveSpeed) + Seconds(rapidMM, g_RapidSpeed));
    const long seconds = static_cast<long>(std::min(total, 2147483647.0));
    CLineEdit& report = g_ReportDlg.m_ReportText;
    report.WriteLineF("%s : %g mm", name.c_str(), rapidMM + cutMM);
    report.WriteLineF(LoadResString(IDS_ESTIMATED_TIME).c_str(), seconds / 3600, seconds % 3600 / 60,
                      seconds % 60);
    return static_cast<int>(seconds);
}
