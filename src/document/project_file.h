// The pieces of the project file that other files of the program write or
// read too: embedded files, drill-tool images and layout-block images.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CBinaryReader;
class CBinaryWriter;
class CLayoutBlock;
struct CDrillTool;

// Embeds g_SystemDir + name: its length, then its bytes (length 0 when the
// file does not exist). False when the file exists but cannot be read.
bool AppendFileToStream(const std::string& name, CBinaryWriter& out);
// Reads one embedded file's length and bytes; false when the length is
// negative or more than the bytes left. The whole block is always consumed
// on success, so the blocks after it stay in step.
bool ReadEmbeddedFile(CBinaryReader& in, std::vector<std::uint8_t>& bytes);
// Writes `bytes` to g_SystemDir + name; on failure tells the operator
// (IDS_SAVE_FAILED) and returns false.
bool CopyEmbeddedFile(const std::string& name, const std::vector<std::uint8_t>& bytes);

// A drill tool's image without its mode: hole count, holes as two doubles,
// diameter, tool number.
void WriteDrillTool(const CDrillTool& tool, CBinaryWriter& out);
bool ReadDrillTool(CDrillTool& tool, CBinaryReader& in);

// A layout block's 72-byte image, and the older 52-byte one.
constexpr std::size_t LAYOUT_BLOCK_IMAGE = 72;
constexpr std::size_t OLD_LAYOUT_BLOCK_IMAGE = 52;
void WriteRecord72(const CLayoutBlock& block, CBinaryWriter& out);
bool ReadRecord72(CLayoutBlock& block, CBinaryReader& in);
bool ReadOldRecord52(CLayoutBlock& block, CBinaryReader& in);
