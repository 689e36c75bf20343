// The Gerber layer readers: the working side's copper from one or more
// Gerber files joined by ";" into the model's tracks and pads, and the track
// joining that groups what touches.
#pragma once

#include <functional>
#include <string>

class CBoardModel;
struct CTrackRecord;

// Reads the layer afresh (the aperture file first); `fill` fills regions
// with strokes, else they are outlined. 1 when every file was read; a
// cut-off file is refused with the model as it was. `loaded` runs once the
// data stands at the data origin, before the plain reader groups tracks
// (with g_GerberFormatDlg.GroupFlag).
int ReadGerberLayer(CBoardModel& model, const std::string& paths, bool fill,
                    const std::function<void()>& loaded);

// Takes the round tracks that touch `t` (and so on, recursively) out of the
// track list into model.m_JoinedTracks, listing them in m_JoinList and the
// end pads of each in m_EndPadList.
int JoinTracks(CBoardModel& model, CTrackRecord* t);
// The flash-list pads of type 3 around an end of `t`, into m_EndPadList.
int CollectEndPads(CBoardModel& model, CTrackRecord* t);
