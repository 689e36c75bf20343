// The document's command table: which member handles a menu or tool-bar
// command id and which fills its item's state. The shell's dispatch asks the
// document through OnCmdMsg and OnUpdateCmdUI; commands of other subsystems
// join the table as they arrive.
#include "document/velm_doc.h"

#include "ui/cmd_ui.h"

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
    {32934, nullptr, &CVelmDoc::OnUpdateMachineParams},
    {32935, nullptr, &CVelmDoc::OnUpdateCommand32935},
    {33017, &CVelmDoc::OnFileSystemSettings, nullptr},
    {33040, &CVelmDoc::OnComponentSide, &CVelmDoc::OnUpdateComponentSide},
    {33041, &CVelmDoc::OnSolderSide, &CVelmDoc::OnUpdateSolderSide},
    {33093, &CVelmDoc::OnBoardFlip, &CVelmDoc::OnUpdateBoardFlip},
    {33136, &CVelmDoc::OnFileGerberFormat, nullptr},
    {33139, &CVelmDoc::OnPlanToolWidthTest, &CVelmDoc::OnUpdatePlanToolWidthTest},
    {33225, &CVelmDoc::OnFileClearSystemMemory, &CVelmDoc::OnUpdateFileClearSystemMemory},
    {33239, &CVelmDoc::OnDrillPadCalibrate, nullptr},
};

const CDocCommand* FindCommand(unsigned id)
{
    for (const CDocCommand& command : DOC_COMMANDS)
        if (command.id == id)
            return &command;
    return nullptr;
}

}  // namespace

bool CVelmDoc::OnCmdMsg(unsigned id)
{
    const CDocCommand* command = FindCommand(id);
    if (!command || !command->handler)
        return false;
    (this->*command->handler)();
    return true;
}

bool CVelmDoc::OnUpdateCmdUI(unsigned id, CCmdUI& cmdUI)
{
    const CDocCommand* command = FindCommand(id);
    if (!command || !command->update)
        return false;
    (this->*command->update)(cmdUI);
    return true;
}
