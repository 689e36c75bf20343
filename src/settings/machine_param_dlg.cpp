// The machine-parameter dialog: its eight fields with their range checks,
// the factory values, and the spindle speed codes of the binary controller.
#include "settings/machine_param_dlg.h"

#include "platform/host.h"
#include "resource_ids.h"
#include "settings/program_options.h"
#include "settings/registry.h"

#include <cmath>

// Measured on the controller's spindle drive; the look-up relies only on the
// order.
const std::array<float, 256> g_SpindleRevTable = {
    104.8f, 105.97f, 107.13f, 108.3f, 109.46f, 110.62f, 111.79f, 112.95f,
    114.12f, 115.28f, 116.45f, 117.61f, 118.78f, 119.94f, 121.11f, 122.28f,
    123.44f, 124.6f, 125.77f, 126.94f, 128.1f, 129.26f, 130.43f, 131.59f,
    132.76f, 133.93f, 135.09f, 136.25f, 137.42f, 138.59f, 139.75f, 140.91f,
    142.08f, 143.25f, 144.41f, 145.57f, 146.74f, 147.91f, 149.07f, 150.24f,
    151.4f, 152.56f, 153.73f, 154.89f, 156.06f, 157.22f, 158.39f, 159.56f,
    160.72f, 161.88f, 163.05f, 164.22f, 165.38f, 166.55f, 167.71f, 168.88f,
    170.04f, 171.2f, 172.37f, 173.53f, 174.7f, 175.87f, 177.03f, 178.19f,
    179.36f, 180.52f, 181.69f, 182.86f, 184.02f, 185.19f, 186.35f, 187.51f,
    188.68f, 189.84f, 191.01f, 192.18f, 193.34f, 194.5f, 195.67f, 196.83f,
    198.0f, 199.0f, 200.0f, 202.72f, 205.43f, 208.15f, 210.87f, 213.59f,
    216.3f, 219.02f, 221.74f, 224.46f, 227.17f, 229.89f, 232.61f, 235.33f,
    238.04f, 240.76f, 243.48f, 246.2f, 248.91f, 251.63f, 254.35f, 257.07f,
    259.78f, 262.5f, 265.22f, 267.93f, 270.65f, 273.37f, 276.09f, 278.8f,
    281.52f, 284.24f, 286.96f, 289.67f, 292.39f, 295.11f, 297.83f, 300.54f,
    303.26f, 305.98f, 308.7f, 311.41f, 314.13f, 316.85f, 319.57f, 322.28f,
    325.0f, 330.72f, 336.45f, 342.17f, 347.89f, 353.61f, 359.34f, 365.06f,
    370.78f, 376.51f, 382.23f, 387.95f, 393.67f, 399.4f, 405.12f, 410.84f,
    416.57f, 422.29f, 428.01f, 433.73f, 439.46f, 445.18f, 450.9f, 456.63f,
    462.35f, 468.07f, 473.8f, 479.52f, 485.24f, 490.96f, 496.69f, 502.41f,
    508.13f, 513.86f, 519.58f, 525.3f, 531.02f, 536.75f, 542.47f, 548.19f,
    553.92f, 559.64f, 565.36f, 571.08f, 576.81f, 582.53f, 588.25f, 593.98f,
    599.7f, 605.42f, 611.14f, 616.87f, 622.59f, 628.31f, 634.04f, 639.76f,
    645.48f, 651.2f, 656.93f, 662.65f, 668.37f, 674.1f, 679.82f, 685.54f,
    691.27f, 696.99f, 702.71f, 708.43f, 714.16f, 719.88f, 725.6f, 731.33f,
    737.05f, 742.77f, 748.49f, 754.22f, 759.94f, 765.66f, 771.39f, 777.11f,
    782.83f, 788.55f, 794.28f, 800.0f, 804.54f, 809.08f, 813.63f, 818.17f,
    822.71f, 827.25f, 831.79f, 836.33f, 840.88f, 845.42f, 849.96f, 854.5f,
    859.04f, 863.59f, 868.13f, 872.67f, 877.21f, 881.75f, 886.29f, 890.84f,
    895.38f, 899.92f, 904.46f, 909.0f, 913.55f, 918.09f, 922.63f, 927.17f,
    931.71f, 936.25f, 940.8f, 945.34f, 949.88f, 954.42f, 958.96f, 963.51f,
    968.05f, 972.59f, 977.13f, 981.67f, 986.21f, 990.76f, 995.3f, 999.84f,
};

const std::array<float CMachineParamDlg::*, 18> CMachineParamDlg::kEditedMembers = {
    &CMachineParamDlg::m_DrillDepth,     &CMachineParamDlg::m_RouteDepth,
    &CMachineParamDlg::m_EngraveDepth,   &CMachineParamDlg::m_HomeSpeed,
    &CMachineParamDlg::m_RapidSpeed,     &CMachineParamDlg::m_XYAcceleration,
    &CMachineParamDlg::m_SpindleSpeed,   &CMachineParamDlg::m_ZSpeed,
    &CMachineParamDlg::m_ParamM3,        &CMachineParamDlg::m_PlungeSpeed,
    &CMachineParamDlg::m_ParamM7,        &CMachineParamDlg::m_LiftSpeed,
    &CMachineParamDlg::m_ParamM9,        &CMachineParamDlg::m_ParamM11,
    &CMachineParamDlg::m_ParamM13,       &CMachineParamDlg::m_ParamM19,
    &CMachineParamDlg::m_EngraveSpeed,   &CMachineParamDlg::m_RouteSpeed,
};

CMachineParamDlg::CMachineParamDlg() : CDialog(IDD_MACHINE_PARAMS)
{
    RegGetString("Machine", m_MachineModel);
    OnCommand(IDC_MP_DEFAULTS, [this] { OnDefaults(); });
}

void CMachineParamDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_MP_RAPID_SPEED, m_RapidSpeed);
    DDV_MinMaxFloat(pDX, IDC_MP_RAPID_SPEED, m_RapidSpeed, 0.5f, 160.0f);
    DDX_Text(pDX, IDC_MP_PLUNGE_SPEED, m_PlungeSpeed);
    DDV_MinMaxFloat(pDX, IDC_MP_PLUNGE_SPEED, m_PlungeSpeed, 0.5f, 42.0f);
    DDX_Text(pDX, IDC_MP_LIFT_SPEED, m_LiftSpeed);
    DDV_MinMaxFloat(pDX, IDC_MP_LIFT_SPEED, m_LiftSpeed, 0.5f, 42.0f);
    DDX_Text(pDX, IDC_MP_DRILL_DEPTH, m_DrillDepth);
    DDX_Text(pDX, IDC_MP_ENGRAVE_DEPTH, m_EngraveDepth);
    DDX_Text(pDX, IDC_MP_ROUTE_DEPTH, m_RouteDepth);
    DDX_Text(pDX, IDC_MP_ENGRAVE_SPEED, m_EngraveSpeed);
    DDV_MinMaxFloat(pDX, IDC_MP_ENGRAVE_SPEED, m_EngraveSpeed, 0.0f, 80.0f);
    DDX_Text(pDX, IDC_MP_ROUTE_SPEED, m_RouteSpeed);
    DDV_MinMaxFloat(pDX, IDC_MP_ROUTE_SPEED, m_RouteSpeed, 0.0f, 35.0f);
}

bool CMachineParamDlg::OnInitDialog()
{
    for (std::size_t i = 0; i < kEditedMembers.size(); ++i)
        m_Opened[i] = this->*kEditedMembers[i];
    CDialog::OnInitDialog();
    // A stored value outside its range is reported as soon as the window
    // opens, not first when OK is pressed.
    UpdateData(true);
    return true;
}

void CMachineParamDlg::RestoreOpened()
{
    for (std::size_t i = 0; i < kEditedMembers.size(); ++i)
        this->*kEditedMembers[i] = m_Opened[i];
}

void CMachineParamDlg::OnOK()
{
    // A field out of range keeps the window open and stores nothing; the
    // fields read before it stay pending until OK passes or Cancel.
    if (!UpdateData(true))
        return;
    EndDialog(IDOK);
    SaveProgramOptions();
}

void CMachineParamDlg::OnCancel()
{
    RestoreOpened();
    CDialog::OnCancel();
}

void CMachineParamDlg::OnDefaults()
{
    m_DrillDepth = 2.8f;
    m_RouteDepth = 1.6f;
    m_EngraveDepth = 0.0f;
    m_HomeSpeed = 16.0f;
    m_RapidSpeed = 35.0f;
    m_XYAcceleration = 5.0f;
    m_SpindleSpeed = 60000.0f;
    m_ZSpeed = 1.5f;
    m_ParamM3 = 34.0f;
    m_PlungeSpeed = 2.0f;
    m_ParamM7 = 8.0f;
    m_LiftSpeed = 24.0f;
    m_ParamM9 = 10.0f;
    m_ParamM11 = 2.0f;
    m_ParamM13 = 15.0f;
    m_ParamM19 = 10.0f;
    m_EngraveSpeed = 8.0f;
    m_RouteSpeed = 1.0f;
    UpdateData(false);
}

std::uint8_t CMachineParamDlg::RpmToSpindleCode(float rpm)
{
    if (g_MachineModel.find('H') != std::string::npos) {
        float revolutions = rpm / 60;
        for (int code = 255; code >= 0; --code)
            if (g_SpindleRevTable[static_cast<std::size_t>(code)] <= revolutions)
                return static_cast<std::uint8_t>(code);
    }
    if (g_MachineModel.find('J') != std::string::npos) {
        static constexpr std::uint8_t kStepCodes[10] = {0, 20, 30, 70, 105, 140, 175, 192, 210, 230};
        double step = std::trunc(static_cast<double>(rpm) / 10000);
        if (!std::isfinite(step))
            return 0;
        if (step >= 0 && step <= 9)
            return kStepCodes[static_cast<int>(step)];
        // Any other step is taken as the code itself.
        return static_cast<std::uint8_t>(static_cast<long long>(std::fmod(step, 256.0)) & 0xFF);
    }
    return 0;
}

std::uint16_t CMachineParamDlg::SpindleOutputWord(std::uint8_t code, std::uint16_t word)
{
    auto rotate = [](unsigned nibble) { return ((nibble << 1) | (nibble >> 3)) & 0x0F; };
    unsigned rotated = (rotate(code >> 4) << 4) | rotate(code & 0x0F);
    unsigned inverted = ~rotated & 0xFF;
    return static_cast<std::uint16_t>((inverted << 8) | (word & 0x00FF));
}
