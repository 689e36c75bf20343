// The document's command table: which member handles a menu or tool-bar
// command id and which fills its item's state. The shell's router asks this
// table (attached at the document's level); commands of other subsystems join
// the list as they arrive.
#include "document/velm_doc.h"

#include "ui/command_router.h"

namespace {

struct CDocCommand {
    unsigned id;
    void (CVelmDoc::*handler)();
    void (CVelmDoc::*update)(CCmdUI&);
};

constexpr CDocCommand DOC_COMMANDS[] = {
    {32843, nullptr, &CVelmDoc::OnUpdateStageEdit},
    {32844, nullptr, &CVelmDoc::OnUpdateStagePaths},
    {32845, nullptr, &CVelmDoc::OnUpdateStageLayout},
    {32846, nullptr, &CVelmDoc::OnUpdateCalcIsolationLines},
    {32905, &CVelmDoc::OnFileOpenProject, nullptr},
    {32906, &CVelmDoc::OnFileSave, nullptr},
    {32915, &CVelmDoc::OnFileNew, nullptr},
    {32934, nullptr, &CVelmDoc::OnUpdateMachineParams},
    {32935, nullptr, &CVelmDoc::OnUpdateCommand32935},
    {33017, &CVelmDoc::OnFileSystemSettings, nullptr},
    {33040, &CVelmDoc::OnComponentSide, &CVelmDoc::OnUpdateComponentSide},
    {33041, &CVelmDoc::OnSolderSide, &CVelmDoc::OnUpdateSolderSide},
    {33093, &CVelmDoc::OnBoardFlip, &CVelmDoc::OnUpdateBoardFlip},
    {33136, &CVelmDoc::OnFileGerberFormat, nullptr},
    {33137, &CVelmDoc::OnFileDrillFormat, nullptr},
    {33139, &CVelmDoc::OnPlanToolWidthTest, &CVelmDoc::OnUpdatePlanToolWidthTest},
    {33225, &CVelmDoc::OnFileClearSystemMemory, &CVelmDoc::OnUpdateFileClearSystemMemory},
    {33239, &CVelmDoc::OnDrillPadCalibrate, nullptr},
    {33279, &CVelmDoc::OnExportKxq, nullptr},
    {33281, &CVelmDoc::OnExportLaser, nullptr},
};

}  // namespace

void CVelmDoc::RegisterCommands()
{
    for (const CDocCommand& command : DOC_COMMANDS) {
        if (command.handler)
            m_Commands.OnCommand(command.id, [this, h = command.handler] { (this->*h)(); });
        if (command.update)
            m_Commands.OnUpdateCommand(command.id,
                                       [this, u = command.update](CCmdUI& ui) { (this->*u)(ui); });
    }
}

bool CVelmDoc::OnCmdMsg(unsigned id) { return m_Commands.Run(id); }

bool CVelmDoc::OnUpdateCmdUI(unsigned id, CCmdUI& cmdUI)
{
    return cmdUI.m_nID == id && m_Commands.Update(cmdUI);
}
