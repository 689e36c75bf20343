// The one document of the program: it owns the board model (CBoardModel: every
// list of board data, the working side's extents and flags, the panel layout
// the view shows) and holds the document's own commands, whose logic lives in
// the floors below. Its member functions are
// spread by concern: velm_doc.cpp (construction, clearing, small commands),
// side_files.cpp, undo_ring.cpp, document_geometry.cpp, aperture_commands.cpp
// and import_commands.cpp (entries to the import floor) and doc_commands.cpp
// (the command table the shell dispatches through).
#pragma once

#include "geometry/contour.h"
#include "geometry/point.h"
#include "platform/win_types.h"
#include "offset/path_layers.h"
#include "records/board_model.h"
#include "ui/command_router.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CBinaryReader;
class CBinaryWriter;
class CCmdUI;
class CGerberSource;
struct CDxfCamImport;
struct CPlanningHooks;

// What the document asks of its view. The view sets these when it attaches;
// with no view attached each does nothing.
struct CDocumentViewHooks {
    std::function<void()> zoomToFit;        // CVelmView::OnWindowAll
    std::function<void()> blockLayout;      // CVelmView::OnBlockLayout
    std::function<void()> updateAllViews;   // redraw after the data changed
    // The view's drill and route display flags turned on.
    std::function<void()> showDrills;
    std::function<void()> showRoute;
    // The main window's caption follows the document's title.
    std::function<void()> titleChanged;
    // A planning walk's progress marked at once on the view (board mil).
    std::function<void(float x, float y)> drawSegmentNow;
    // A planning run is over: the view shows the paths and repaints.
    std::function<void()> showPaths;

    // Calls a hook when the view has set it.
    static void Run(const std::function<void()>& hook)
    {
        if (hook)
            hook();
    }
};

// One board side's copper as its side file holds it, out of the document.
struct CSideRecords {
    COwnedList<CTrackRecord> tracks;
    CRefList<CTrackRecord> references;
    COwnedList<CFlashRecord> flashes;
    COwnedList<CFlashRecord> pads2;
    std::int32_t isolationDone = 0;
    std::uint8_t layoutDone = 0;
};

class CVelmDoc : public CBoardModel {
public:
    CVelmDoc();
    virtual ~CVelmDoc();
    CVelmDoc(const CVelmDoc&) = delete;
    CVelmDoc& operator=(const CVelmDoc&) = delete;

    CDocumentViewHooks m_ViewHooks;

    // The framework part of a document: title and modified flag.
    virtual int OnNewDocument() { return 1; }
    virtual void SetTitle(const std::string& title)
    {
        m_Title = title;
        CDocumentViewHooks::Run(m_ViewHooks.titleChanged);
    }
    const std::string& GetTitle() const { return m_Title; }
    virtual int IsModified() { return m_Modified; }
    virtual void SetModifiedFlag(int modified) { m_Modified = modified; }

    // Clearing (velm_doc.cpp).
    void ClearSideData();
    void ClearAll();
    void ClearToolPaths();

    // The machine defaults of the model, then the settings file over them
    // (`path`, or the one in the system directory when empty); 1 when the
    // file was read (velm_doc.cpp).
    void SetModelDefaults();
    int LoadSettings(const std::string& path = "");

    // Document commands (velm_doc.cpp).
    void OnFileSystemSettings();
    void OnFileDrillFormat();
    void OnPlanToolWidthTest();
    void OnUpdatePlanToolWidthTest(CCmdUI& cmdUI);
    void OnFileClearSystemMemory();
    void OnUpdateFileClearSystemMemory(CCmdUI& cmdUI);
    void OnDrillPadCalibrate();
    // The holes of g_HoleList aligned to the working side's pads, then a
    // redraw; 1 when a shift was found, else 0 with the holes unchanged and
    // the status text saying so. The argument is unused.
    int AutoAlignDrills(int mode = 0);

    // Side files (side_files.cpp). Each returns 1 on success, else 0 after
    // telling the operator, with the document unchanged.
    int SaveTempFile(const std::string& name);
    // The same without a word to the operator when the file cannot be
    // written: the caller keeps the side another way then.
    int ParkTempFile(const std::string& name);
    int LoadTempFile(const std::string& name);
    // A side file's records without taking them into the document.
    static int ReadTempFile(const std::string& name, CSideRecords& side);
    // The same in memory: the bytes a side file of this side would hold,
    // and taking a side from such bytes (`name` for the message when they
    // are not a side file's). A load that moves sides back and forth keeps
    // them so and writes each side file once.
    std::vector<std::uint8_t> SideFileImage() const;
    int TakeSideFileImage(const std::vector<std::uint8_t>& bytes, const std::string& name);
    // Only the strokes, their references and the pads of such bytes, the
    // rest of the document as it is (what a refused Gerber read gives back).
    bool TakeSideCopperImage(const std::vector<std::uint8_t>& bytes);
    // Writes a side file's bytes into the system directory; 0 after
    // telling the operator when it cannot.
    static int WriteSideFile(const std::string& name, const std::vector<std::uint8_t>& bytes);
    // The same with the records of a side held out of the document, which
    // are written as they stand, a piece at a time.
    static int WriteSideFile(const std::string& name, const CSideRecords& side);
    // The working side's records moved out of the document (which holds no
    // copper after), and a side taken in as TakeSideFileImage takes one: a
    // load that moves sides back and forth keeps the side it does not hold
    // as records, never making their image only to read it back.
    CSideRecords ReleaseSide();
    void TakeSide(CSideRecords&& side);
    // The bytes a side file of such records would hold.
    static std::vector<std::uint8_t> SideFileImage(const CSideRecords& side);

    // Undo ring of the path layers (undo_ring.cpp); 1 on success, else 0
    // after telling the operator, with the ring and the layers unchanged.
    static constexpr int UNDO_RING_SIZE = 10;
    int SaveUndoSnapshot();
    int LoadUndoSnapshot();
    // The snapshot file of a ring index.
    static std::string UndoFilePath(int index);

    // Document geometry (document_geometry.cpp).
    void ComputeBoardExtent();
    void GetPadExtent(CDPoint* maxCorner, CDPoint* minCorner);
    int InitCells();
    void OnComponentSide();
    void OnSolderSide();
    void OnBoardFlip();
    void OnUpdateBoardFlip(CCmdUI& cmdUI);
    void OnUpdateStageEdit(CCmdUI& cmdUI);
    void OnUpdateStagePaths(CCmdUI& cmdUI);
    void OnUpdateStageLayout(CCmdUI& cmdUI);
    void OnUpdateCalcIsolationLines(CCmdUI& cmdUI);
    void OnUpdateMachineParams(CCmdUI& cmdUI);
    void OnUpdateSpareCommand(CCmdUI& cmdUI);
    void OnUpdateComponentSide(CCmdUI& cmdUI);
    void OnUpdateSolderSide(CCmdUI& cmdUI);

    // Drill import (import_commands.cpp, logic in import/drill_import.h): the
    // drill file into g_HoleList, tool sizes from the CAD drill report beside
    // it, and the hole list ordered by diameter. 0 (after one message) when
    // the holes were left as they were.
    int LoadDrillFile(const std::string& path);
    void ReadDrillReport(const std::string& drillPath);
    void SortHoles();

    // Project files and the two export files (project_file.cpp,
    // export_files.cpp). SaveProject and LoadProject return 1 on success,
    // else 0 after telling the operator; a project that cannot be read
    // whole leaves the open job as it was.
    static constexpr int PROJECT_VERSION = 46;
    void OnFileOpenProject();
    void OnFileSave();
    int SaveProject(const std::string& path);
    int LoadProject(const std::string& path);
    void OnExportKxq();
    void OnExportLaser();
    int WriteKxqFile(const std::string& path);
    int WriteLaserFile(const std::string& path);

    // The document's commands (doc_commands.cpp), which the shell's router
    // asks at the document's level. OnCmdMsg runs the handler of an id and
    // OnUpdateCmdUI fills the state of its item; each is false when the
    // document has none for the id.
    CCommandTable m_Commands;
    bool OnCmdMsg(unsigned id);
    bool OnUpdateCmdUI(unsigned id, CCmdUI& cmdUI);


    // ---- Gerber import (aperture_commands.cpp and import_commands.cpp; the
    // logic in src/import/: aperture_table.h, gerber_blocks.h,
    // gerber_reader.h, route_reader.h, extent_scan.h) ----
    // The aperture table read through FILETYPE block g_ApertureFormat.
    void LoadApertureFile();
    CApertureRecord* FindAperture(const std::string& code);
    float GetApertureWidth(const std::string& code);
    float GetApertureHeight(const std::string& code);
    std::string GetApertureShape(const std::string& code);
    // The table position of a code (asked from the operator and added when
    // missing); wide, so more than 256 apertures stay apart in memory.
    int GetApertureIndex(const std::string& code);
    float GetApertureWidthByIndex(int index) const;
    // The operator is asked for a missing code unless it is empty or one of
    // the codes never asked ("D02M", "G01D"); the answer is appended.
    static bool MayAskAperture(const std::string& code);
    CApertureRecord* AskAperture(const std::string& code);
    // One block of a Gerber file; RS-274X parameters met on the way are
    // applied to the aperture table, the macros and the number format.
    void ReadGerberBlock(CGerberSource& in, std::string& block);
    void ApplyGerberParameter(const std::string& param);
    void AddApertureFromParam(const std::string& param);
    // The working side's copper from one or more Gerber files joined by ";"
    // (the area-fill reader when g_GerberFormatDlg.AreaFill is on); 1 when
    // every file was read. A cut-off file is refused with the document as it
    // was.
    int LoadGerber(const std::string& paths);
    int ReadGerberLayer(const std::string& paths);
    int ReadGerberLayerFill(const std::string& paths);
    int JoinTracks(CTrackRecord* t);
    int CollectEndPads(CTrackRecord* t);
    // The "route" layer from a Gerber route file; 0 when it was not read.
    int LoadRouteGerber(const std::string& paths);
    // Extent pre-scans: the data origin and the board extent.
    void ScanGerberExtent(const std::string& paths);
    void ScanRouteExtent(const std::string& path);
    // File/Gerber format: the format dialog, modal.
    void OnFileGerberFormat();
    // ---- end of Gerber import ----

    // ---- Number-format detection (import_commands.cpp; the logic in
    // src/import/format_detection.h) ----
    // Each guesses a format from the data of a ";"-separated path list and
    // writes it into g_GerberFormatDlg or g_DrillFormatDlg (in memory only).
    // DetectGerberFormat: 1 when it ran to the end, 0 when AutoFormat is off
    // or a file cannot be read. It leaves the flashes it found in the flash
    // list, DetectDrillFormat the holes in g_HoleList: working data only.
    int DetectGerberFormat(const std::string& paths);
    void DetectDrillFormat(const std::string& paths);
    // Zero suppression, unit and digit counts from the digit strings and the
    // steps between points; 1, or 0 when a file cannot be read.
    int DetectGerberDigits(const std::string& paths);
    int DetectDrillDigits(const std::string& paths);
    // The decimal digits from the power-of-ten spacing of the flashes or holes.
    void DetectGerberScale();
    void DetectDrillScale();
    // ---- end of number-format detection ----

    // ---- File/New job loader (src/import/job_loader.cpp) ----
    // File/New: the settings file, then the work order dialog; OK
    // loads the order.
    void OnFileNew();
    // The whole job from the current work order: both copper sides through
    // their side files, aligned to one origin, the drills, the route or a
    // default outline; the order is stored in the registry. False when a file
    // could not be read (one message said which); when a named file is
    // missing, a folder or empty, the open job is left as it was.
    bool LoadWorkOrder();
    // The extent of the working side's copper and of the "route" layer.
    void GetDataExtent(CDPoint& maxCorner, CDPoint& minCorner);
    // The processing macro of g_CalcMethod (src/document/process_macro.cpp).
    void RunProcessMacro();
    // ---- end of File/New job loader ----

    // ---- DXF exchange (dxf_commands.cpp; the logic in src/exchange/) ----
    // File/Import "DXF to CAM": the drawing's layers as path layers of side
    // 5, circles on HOLE layers as drill holes too.
    void OnFileImportDxfToCam();
    // The drawing at `path` in place of the open job; 0 (after a message)
    // when it could not be read or held nothing, with the job as it was.
    int ImportDxfToPathLayers(const std::string& path);
    // File/Import "DXF to Gerber": the layer roles asked, the files written
    // beside the drawing and loaded as a work order.
    void OnFileImportDxfToGerber();
    // The same for the drawing at `path`; 0 when the operator cancelled or a
    // file could not be read or written, the open job then as it was.
    int ConvertDxfToGerber(const std::string& path);
    // DXF layer `name` of the converted drawing as a machining path layer,
    // placed as the loaded job; 0 after a message when it cannot be read.
    int ImportDxfMachiningLayer(const std::string& path, const std::string& name);
    // The items of path layer `name` ordered into chains.
    void ChainPathLayer(const std::string& name);
    // The writers of role `base` into `path`; 0 after "Disk Error !".
    int WriteGerberRs274x(const std::string& path, const std::string& base);
    int WriteExcellonDrill(const std::string& path, const std::string& base);
    // The plain hairline RS-274X file of a role; no command writes it.
    int WriteGerberRs274xHairline(const std::string& path, const std::string& base);
    // ---- end of DXF exchange ----

    // Scan-line isolation (isolation_commands.cpp, logic in src/planning).
    // The isolation lines of tool 1 or 2 ("T1ISO"/"T1PATH", "T2ISO"/"T2PATH")
    // of the working side, the cutter widened by `extra` mil: 1 when
    // finished, 0 when the operator cancelled (no layer is made then).
    int CalcIsolationT1(int extra);
    int CalcIsolationT2(int extra);
    // The general scan-line run: `offset` (mil) widens the copper, `pitch`
    // (mil) spaces the scan lines; paths are walked when `generateLines`,
    // which the calculation settings give when it is left out.
    void CalcIsolationLines(float offset, int pitch);
    void CalcIsolationLines(float offset, int pitch, int generateLines);
    // Puts the grid path list into milling order (command 33043).
    void OnSortIsolationPaths();
    void ClearGridPathSegments();

    // The offset-path engine's stages (offset_engine.cpp, logic in
    // src/offset). The source elements of the working side, replacing all
    // the engine made before.
    void BuildSourceElements();
    // Groups of touching copper for cutter width d (group mark slot `mark`).
    void BuildGroups(CRefList<CIsoElement>& sources, CRefList<CIsoGroup>& groups, float d,
                     int mark);
    // Arc composition and trimming of one group's pieces.
    void ComposeArcs(CRefList<CIsoElement>& pieces);
    void TrimGroup(CRefList<CIsoElement>& pieces);

    // The path calculation (path_calculation.cpp): command 33075 with its
    // dialog, and the work it does once the tools are chosen.
    void OnPathCalculation();
    // The layers to make: isolation and clearing per tool.
    struct CPathLayerChoice {
        int t1Iso = 1;
        int t1Clear = 1;
        int t2Iso = 1;
        int t2Clear = 1;
        int t3Clear = 1;
    };
    // The stored tool settings ("Tool1Size".. "Tool3Depth") into the
    // document, once a calculation has stored them; 1 when they were.
    int ReadStoredTools();
    // T1 <= T2 <= T3, as the calculation requires of the tool widths.
    bool ToolWidthsInOrder() const
    {
        return !(m_ToolWidth3 < m_ToolWidth2 || m_ToolWidth2 < m_ToolWidth1);
    }
    // Every tool-path layer of both sides made anew from the tool settings
    // for each side of the work order, component side first; the layers of
    // side 5 stay. 0 when the operator cancelled (the layers made so far
    // stay), else 1.
    int CalculatePathLayers(const CPathLayerChoice& choice);

    // Calculation settings and processing macros (process_macro.cpp, logic in src/planning).
    // Command 32846: the settings dialog, then the plain calculation or the chosen method.
    void OnCalcIsolationLines();
    // One method's block, `line` its DESCRIPTION line, run on the working side.
    void RunMacroBlock(int line);

    // ---- Clearing per tool, PATH layers and coverage (tool_clearing_commands.cpp;
    // the logic in src/planning/tool_clearing.h) ----
    // What a planning run needs of the document and its view.
    CPlanningHooks PlanningHooks();
    // Clearing layers "T3MIL" (strokes trimmed by `reach` mil; at the head
    // of the path-layer list when `atHead`, else at its tail), "T2MIL" (tail)
    // and "T1MIL" (head) from the rows the document holds.
    void CalcClearT3(float reach, bool atHead);
    void CalcClearT2();
    void CalcClearT1();
    // The rows of tool 3 or 2 with the copper widened by `extra` mil more,
    // kept as "T3PATH" or "T2PATH" at the head of the list; 0 when the
    // operator cancelled (no layer then, the raster empty).
    int CalcPathT3(int extra);
    int CalcPathT2(int extra);
    // Burns into the rows what the layers of tool 3's or tool 2's width
    // already machine.
    void MarkTool3Coverage();
    void MarkTool2Coverage();
    // Clears a rectangle (mil) for the clearing layer `name` ("T1MIL",
    // "T2MIL", "T3MIL") from the tool's PATH layer into a new layer.
    void MergeMillIntoPath(const std::string& name, int left, int top, int right, int bottom);
    // ---- end of clearing per tool ----

    // Region clearing (clearing_commands.cpp, logic in planning/region_clearing.h).
    int CrossesIsolationPath(float x1, float y1, float x2, float y2);
    int ClearRegionRows(CClearRegion* region);
    int ClearRegionColumns(CClearRegion* region);
    int ClearRegionSmall(CClearRegion* region, int limit);
    int ClearPadRing(CClearRegion* region);
    // A region over `rect` cleared by `generate`, kept in the clearing-region
    // list when it made strokes, else dropped; the generator's result.
    int AddClearRegion(const RECT& rect, const std::function<int(CClearRegion*)>& generate);
    void OnMillPads();

    // Machine commands that act at once (machine_commands.cpp, the set-up in
    // machining/machine_setup.h): spindle, DL/EL, EB0/EB1, controller reset
    // and the machine-parameter dialog.
    void OnSpindleOn();
    void OnSpindleOff();
    void OnCmdDL();
    void OnCmdEL();
    void OnCmdEB0();
    void OnCmdEB1();
    void OnResetEngraver();
    void OnMachineParams();
    void OnUpdateSpindleOn(CCmdUI& cmdUI);
    void OnUpdateSpindleOff(CCmdUI& cmdUI);
    void OnUpdateCmdDL(CCmdUI& cmdUI);
    void OnUpdateCmdEL(CCmdUI& cmdUI);
    void OnUpdateCmdEB0(CCmdUI& cmdUI);
    void OnUpdateCmdEB1(CCmdUI& cmdUI);
    void OnUpdateResetEngraver(CCmdUI& cmdUI);

    // ---- HPGL and RS-274D to CAM, calculated paths as DXF
    // (path_exchange_commands.cpp; the logic in src/exchange/) ----
    // File/Import "HPGL to CAM" and "GERBER to CAM": the plot in place of
    // the job, a path layer per pen or aperture select.
    void OnFileImportHpglToCam();
    void OnFileImportGerberToCam();
    // The same for the file at `path`; 0 (after a message) when it could
    // not be read or held nothing, with the job as it was.
    int ImportHpglToCam(const std::string& path);
    int ImportGerberToCam(const std::string& path);
    // File/Calculated paths: export as DXF through the system directory's
    // template, and import from DXF in place of every path layer.
    void OnFileExportCalcDxf();
    void OnFileImportCalcDxf();
    // The same with the file given; 0 after a message when the template is
    // missing or broken, the file cannot be written or read (nothing is
    // changed then) or the drawing holds nothing to import.
    int ExportCalcDxf(const std::string& path);
    int ImportCalcDxf(const std::string& path);
    // A drawing import's layers, holes, layer list and extent in place of
    // the job (the text windows offered for saving first, the side files
    // emptied), shown in the layout stage.
    void TakeCamImport(CDxfCamImport& in);
    // ---- end of HPGL and RS-274D to CAM, calculated paths as DXF ----
    // ---- Offset-path calculation (offset_commands.cpp; the logic in
    // src/offset/pass_driver.h and src/offset/duplicate_tool_paths.h) ----
    // The tool settings beyond the three tools' widths and depths: the
    // second tool-1 size ("T4ISO"), its depth and whether it is used, the
    // number of passes and whether duplicate paths between passes are kept.
    float m_Tool1Size2 = 7.874016f;
    float m_Tool1Depth2 = 20.0f;
    int m_Tool1Check = 0;
    int m_IsoLayer = 6;
    int m_KeepDuplicates = 1;
    // Context-menu commands 33251, 33223 and 33250.
    void OnNewIsolationPaths();
    void OnOptimizePaths();
    void OnDeleteDuplicatePaths();
    // The tool settings as the engine takes them.
    CIsoToolSettings IsoToolSettings() const;
    // The three tools' widths and depths into the registry values
    // "Tool1Size".. "Tool3Depth" (path_calculation.cpp).
    void WriteStoredTools() const;
    // The isolation passes of the working side; 1 when done, 0 when the
    // operator cancelled (no layer of the side made then).
    int GenerateIsolationPaths(int extra);
    int IsoPassDriver(float distance);
    int TemplateGridPass(float distance);
    // Every tool-path layer of sides 0 and 1 made anew by the offset engine
    // and the tool-3 planner for each side of the work order; side 5 stays.
    // 1 when done, 0 when the operator cancelled.
    int CalculateOffsetPathLayers();
    // The duplicate deletion of the working side's clearing layers.
    void DeleteDuplicateToolPaths();
    // Marks the line and round-pad sources that lie wholly under other
    // copper (AreaMark 1; the others 0), on a raster of the document's grid
    // step (offset_engine.cpp).
    void ComputeLargeCopperArea();
    // The engine's variants that no command calls (offset_engine.cpp): the
    // split pieces widened or split at their crossings, elements outside
    // the board extent deleted, pieces and sources distributed to groups.
    void WidenSplitPieces(float distance);
    void SplitPiecesAtPoints();
    void DeleteOutsideBoardExtent(CRefList<CIsoElement>& elements);
    void DistributeByGroupIndex(CRefList<CIsoGroup>& groups, CRefList<CIsoGroup>& targets,
                                int slot);
    void DistributeByGroupIndex2(CRefList<CIsoElement>& pieces, CRefList<CIsoElement>& sources,
                                 CRefList<CIsoGroup>& groups, int slot);
    void BuildGroupRelations(CRefList<CIsoElement>& pieces, CRefList<CIsoGroup>& groups,
                             std::uint8_t mode);
    // ---- end of offset-path calculation ----
    // The drilling job's resume project: 1 once "temp.prj" was saved for the
    // document now loaded.
    int m_ResumeProjectSaved = 0;
    // The tool-height detection point (mil); both 0 when none is set.
    double m_DetectPosX = 0.0;
    double m_DetectPosY = 0.0;
    // ---- Copper editor (edit_commands.cpp; the record work in src/editing) ----
    // The other board side made the working side (the working one saved to
    // its side file first); 0 when a side file could not be written or read,
    // after telling the operator, with the working side as it was.
    int SwitchToOtherSide();
    // Puts the working side's pad `p1` onto the other side's pad `p2` (the
    // other side is working when called; the first side is again after),
    // then moves both sides so their data begin at 100 mil and sets the
    // board's far corner. 0 when a side could not be switched: the sides
    // then stay as the last switch left them, and nothing more is moved.
    int AlignSidesOnPads(CDPoint p1, CDPoint p2);
    // The ring of path segments the isolation pick's area kind fills.
    CContour m_PickContour;
    // ---- end of copper editor ----
    // The partial-selection stage: enabled once a panel layout exists,
    // checked while it is the work stage; the machining stage checked while
    // it is (document_geometry.cpp).
    void OnUpdateStagePartial(CCmdUI& cmdUI);
    void OnUpdateStageMachining(CCmdUI& cmdUI);

private:
    void RegisterCommands();
    // One step of a side switch; see document_geometry.cpp.
    int SwitchSide(int toSide);
    // Closes the modeless windows that are open (destruction).
    void CloseModelessWindows();

    std::string m_Title;
    int m_Modified = 0;
};

// Reads an int32 count of items of `elementSize` bytes each; false when it
// is negative or more than the bytes left could hold, so a corrupt count
// never makes the reader allocate.
bool ReadCount(CBinaryReader& in, std::size_t elementSize, std::int32_t& count);
// True when the bytes are a whole side file (an empty one stands for a side
// the job does not have): a project is checked with this before it is used.
bool IsSideFileImage(const std::vector<std::uint8_t>& bytes);

// The smallest path-layer image: a layer without segments.
constexpr std::size_t PATH_LAYER_MIN_IMAGE = 38;
// The names of `layers` as a file's name field of `field` bytes holds them:
// names that fit stay, longer ones are cut, and cuts that would read back as
// another layer's name are numbered ("~1", "~2", ...) so that no two layers
// of one file share a stored name.
std::vector<std::string> StoredLayerNames(const COwnedList<CPathRecord>& layers, std::size_t field);
// The path layers' count and images in the undo and project files.
void WritePathLayers(const COwnedList<CPathRecord>& layers, CBinaryWriter& out);
// One path layer's image, under the name the file stores for it.
void WritePathLayer(const CPathRecord& layer, const std::string& storedName, CBinaryWriter& out);
// Fills `layer` from one image; false on a short or corrupt image, after
// which `layer` may hold part of it (callers read into a fresh record).
bool ReadPathLayer(CPathRecord& layer, CBinaryReader& in);
// One track or flash image.
void WriteRecord48(const CTrackRecord& track, CBinaryWriter& out);
void WriteRecord44(const CFlashRecord& flash, CBinaryWriter& out);

// One drill tool and one path layer in the compact form of the export files.
void WriteDrillToolFloat(const CDrillTool& tool, CBinaryWriter& out);
void WritePathLayerCompact(const CPathRecord& layer, CBinaryWriter& out);
