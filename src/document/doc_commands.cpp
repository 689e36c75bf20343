// The document's command table: which member handles a menu or tool-bar
// command id and which fills its item's state. The shell's router asks this
// table (attached at the document's level); commands of other subsystems join
// the list as they arrive.
#include "document/velm_doc.h"

#include "resource_ids.h"
#include "ui/command_router.h"

namespace {

struct CDocCommand {
    unsigned id;
    void (CVelmDoc::*handler)();
    void (CVelmDoc::*update)(CCmdUI&);
};

constexpr CDocCommand DOC_COMMANDS[] = {
    {ID_STAGE_EDIT, nullptr, &CVelmDoc::OnUpdateStageEdit},
    {ID_STAGE_PATHS, nullptr, &CVelmDoc::OnUpdateStagePaths},
    {ID_STAGE_LAYOUT, nullptr, &CVelmDoc::OnUpdateStageLayout},
    {ID_CALC_ISOLATION_LINES, &CVelmDoc::OnCalcIsolationLines, &CVelmDoc::OnUpdateCalcIsolationLines},
    {ID_PATH_CALCULATION, &CVelmDoc::OnPathCalculation, nullptr},
    {ID_FILE_OPEN_PROJECT, &CVelmDoc::OnFileOpenProject, nullptr},
    {ID_FILE_SAVE, &CVelmDoc::OnFileSave, nullptr},
    {ID_FILE_NEW, &CVelmDoc::OnFileNew, nullptr},
    {ID_MACHINE_PARAMS, nullptr, &CVelmDoc::OnUpdateMachineParams},
    {ID_SPARE_COMMAND, nullptr, &CVelmDoc::OnUpdateSpareCommand},
    {ID_FILE_SYSTEM_SETTINGS, &CVelmDoc::OnFileSystemSettings, nullptr},
    {ID_COMPONENT_SIDE, &CVelmDoc::OnComponentSide, &CVelmDoc::OnUpdateComponentSide},
    {ID_SOLDER_SIDE, &CVelmDoc::OnSolderSide, &CVelmDoc::OnUpdateSolderSide},
    {ID_BOARD_FLIP, &CVelmDoc::OnBoardFlip, &CVelmDoc::OnUpdateBoardFlip},
    {ID_FILE_GERBER_FORMAT, &CVelmDoc::OnFileGerberFormat, nullptr},
    {ID_FILE_DRILL_FORMAT, &CVelmDoc::OnFileDrillFormat, nullptr},
    {ID_PLAN_TOOL_WIDTH_TEST, &CVelmDoc::OnPlanToolWidthTest,
     &CVelmDoc::OnUpdatePlanToolWidthTest},
    {ID_FILE_CLEAR_SYSTEM_MEMORY, &CVelmDoc::OnFileClearSystemMemory,
     &CVelmDoc::OnUpdateFileClearSystemMemory},
    {ID_DRILL_PAD_CALIBRATE, &CVelmDoc::OnDrillPadCalibrate, nullptr},
    {ID_EXPORT_KXQ, &CVelmDoc::OnExportKxq, nullptr},
    {ID_EXPORT_LASER, &CVelmDoc::OnExportLaser, nullptr},
    {ID_MILL_PADS, &CVelmDoc::OnMillPads, nullptr},
    {ID_IMPORT_DXF_TO_CAM, &CVelmDoc::OnFileImportDxfToCam, nullptr},
    {ID_IMPORT_DXF_TO_GERBER, &CVelmDoc::OnFileImportDxfToGerber, nullptr},
    {ID_SPINDLE_ON, &CVelmDoc::OnSpindleOn, &CVelmDoc::OnUpdateSpindleOn},
    {ID_SPINDLE_OFF, &CVelmDoc::OnSpindleOff, &CVelmDoc::OnUpdateSpindleOff},
    {ID_CMD_DL, &CVelmDoc::OnCmdDL, &CVelmDoc::OnUpdateCmdDL},
    {ID_CMD_EL, &CVelmDoc::OnCmdEL, &CVelmDoc::OnUpdateCmdEL},
    {ID_CMD_EB0, &CVelmDoc::OnCmdEB0, &CVelmDoc::OnUpdateCmdEB0},
    {ID_CMD_EB1, &CVelmDoc::OnCmdEB1, &CVelmDoc::OnUpdateCmdEB1},
    {ID_RESET_ENGRAVER, &CVelmDoc::OnResetEngraver, &CVelmDoc::OnUpdateResetEngraver},
    {ID_MACHINE_PARAMS, &CVelmDoc::OnMachineParams, &CVelmDoc::OnUpdateMachineParams},
    {ID_IMPORT_HPGL_TO_CAM, &CVelmDoc::OnFileImportHpglToCam, nullptr},
    {ID_IMPORT_GERBER_TO_CAM, &CVelmDoc::OnFileImportGerberToCam, nullptr},
    {ID_EXPORT_CALCULATED_PATHS, &CVelmDoc::OnFileExportCalcDxf, nullptr},
    {ID_IMPORT_CALCULATED_PATHS, &CVelmDoc::OnFileImportCalcDxf, nullptr},
    {ID_PATHS_GENERATE_ISOLATION, &CVelmDoc::OnNewIsolationPaths, nullptr},
    {ID_PATHS_OPTIMISE, &CVelmDoc::OnOptimizePaths, nullptr},
    {ID_PATHS_DELETE_DUPLICATES, &CVelmDoc::OnDeleteDuplicatePaths, nullptr},
    {ID_STAGE_PARTIAL, nullptr, &CVelmDoc::OnUpdateStagePartial},
    {ID_STAGE_MACHINING, nullptr, &CVelmDoc::OnUpdateStageMachining},
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
