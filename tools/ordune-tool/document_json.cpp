// The JSON dump of the document.
#include "document_json.h"

#include "document/velm_doc.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "records/board_extent.h"
#include "settings/system_settings_dlg.h"
#include "settings/work_order_dlg.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// A minimal writer: objects and arrays with commas placed for us. The text
// is built in a buffer and handed to the stream in large pieces: a dump of a
// dense board holds millions of numbers.
class CJson {
public:
    explicit CJson(std::ostream& out) : m_Out(out) { m_Buffer.reserve(kFlushSize + 4096); }
    ~CJson() { Flush(); }
    CJson(const CJson&) = delete;
    CJson& operator=(const CJson&) = delete;

    void Begin(char bracket) { Separate(); m_Buffer += bracket; m_First = true; }
    void End(char bracket) { m_Buffer += bracket; m_First = false; FlushIfFull(); }
    void Key(const char* key) { Separate(); String(key); m_Buffer += ':'; m_First = true; }

    void Int(long long v)
    {
        Separate();
        char text[24];
        m_Buffer.append(text, std::to_chars(text, text + sizeof text, v).ptr);
    }
    // As printf's "%.<digits>g" writes it.
    void Float(double v, int digits)
    {
        Separate();
        if (!std::isfinite(v)) {
            m_Buffer += "null";
            return;
        }
        char text[40];
        m_Buffer.append(text,
                        std::to_chars(text, text + sizeof text, v, std::chars_format::general, digits).ptr);
    }
    void F32(float v) { Float(v, 9); }
    void F64(double v) { Float(v, 17); }
    void Str(const std::string& v) { Separate(); String(v); }
    void Null() { Separate(); m_Buffer += "null"; }

    template <class F>
    void Object(const char* key, F body)
    {
        if (key)
            Key(key);
        Begin('{');
        body();
        End('}');
    }
    template <class F>
    void Array(const char* key, F body)
    {
        if (key)
            Key(key);
        Begin('[');
        body();
        End(']');
    }

    void Flush()
    {
        m_Out.write(m_Buffer.data(), static_cast<std::streamsize>(m_Buffer.size()));
        m_Buffer.clear();
    }

private:
    static constexpr std::size_t kFlushSize = 1 << 16;

    void FlushIfFull()
    {
        if (m_Buffer.size() >= kFlushSize)
            Flush();
    }
    void Separate()
    {
        if (!m_First)
            m_Buffer += ',';
        m_First = false;
    }
    void Escape(unsigned char c)
    {
        static const char kHex[] = "0123456789abcdef";
        const char esc[6] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
        m_Buffer.append(esc, sizeof esc);
    }
    // JSON text is UTF-8: a byte that is not part of a well-formed UTF-8
    // sequence (a path in another encoding) is written as the escape of the
    // code point of the same number, so the output always parses.
    void String(const std::string& v)
    {
        m_Buffer += '"';
        for (std::size_t i = 0; i < v.size();) {
            const auto c = static_cast<unsigned char>(v[i]);
            if (c < 0x80) {
                if (c == '"' || c == '\\') {
                    m_Buffer += '\\';
                    m_Buffer += static_cast<char>(c);
                } else if (c < 0x20) {
                    Escape(c);
                } else {
                    m_Buffer += static_cast<char>(c);
                }
                ++i;
                continue;
            }
            const std::size_t length = Utf8SequenceLength(v, i);
            if (length == 0) {
                Escape(c);
                ++i;
            } else {
                m_Buffer.append(v, i, length);
                i += length;
            }
        }
        m_Buffer += '"';
    }
    // The length of the well-formed UTF-8 sequence starting at `i` (2 to 4),
    // or 0: no overlong forms, no surrogates, nothing above U+10FFFF.
    static std::size_t Utf8SequenceLength(const std::string& v, std::size_t i)
    {
        const auto at = [&](std::size_t k) { return static_cast<unsigned char>(v[k]); };
        const unsigned char c = at(i);
        std::size_t length = 0;
        unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            lo = c == 0xE0 ? 0xA0 : 0x80;
            hi = c == 0xED ? 0x9F : 0xBF;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            lo = c == 0xF0 ? 0x90 : 0x80;
            hi = c == 0xF4 ? 0x8F : 0xBF;
        } else {
            return 0;
        }
        if (i + length > v.size() || at(i + 1) < lo || at(i + 1) > hi)
            return 0;
        for (std::size_t k = 2; k < length; ++k)
            if (at(i + k) < 0x80 || at(i + k) > 0xBF)
                return 0;
        return length;
    }

    std::ostream& m_Out;
    std::string m_Buffer;
    bool m_First = true;
};

void Extent(CJson& j, const char* key, int minX, int minY, int maxX, int maxY)
{
    j.Array(key, [&] {
        for (int v : {minX, minY, maxX, maxY})
            j.Int(v);
    });
}

void Tracks(CJson& j, const COwnedList<CTrackRecord>& tracks)
{
    j.Array("tracks", [&] {
        for (const auto& t : tracks)
            j.Object(nullptr, [&] {
                j.Key("group"); j.Int(t->groupNo);
                j.Key("record"); j.Int(t->recordNo);
                j.Key("x1"); j.F32(t->x1);
                j.Key("y1"); j.F32(t->y1);
                j.Key("x2"); j.F32(t->x2);
                j.Key("y2"); j.F32(t->y2);
                j.Key("width"); j.F32(t->width);
                j.Key("type"); j.Int(t->type);
                j.Key("aperture"); j.Int(t->aperture);
                j.Key("arcHalfWidth"); j.F32(t->arcHalfWidth);
                j.Key("chordMark"); j.Int(t->chordMark);
                j.Key("used"); j.Int(t->used);
                j.Key("joined"); j.Int(t->joined);
            });
    });
}

void Flashes(CJson& j, const char* key, const COwnedList<CFlashRecord>& flashes)
{
    j.Array(key, [&] {
        for (const auto& f : flashes)
            j.Object(nullptr, [&] {
                j.Key("x"); j.F32(f->x);
                j.Key("y"); j.F32(f->y);
                j.Key("radius"); j.F32(f->radius);
                j.Key("type"); j.Int(f->type);
                j.Key("record"); j.Int(f->recordNo);
                j.Key("group"); j.Int(f->groupNo);
                j.Key("aperture"); j.Int(f->aperture);
                j.Key("arcMark"); j.Int(f->arcMark);
                j.Key("used"); j.Int(f->used);
            });
    });
}

// Loads a side file that holds a side (an empty one is a side not read).
bool LoadSide(CVelmDoc& doc, const char* file)
{
    std::error_code error;
    const std::string path = JoinPath(g_SystemDir, file);
    return std::filesystem::exists(path, error) && std::filesystem::file_size(path, error) > 0 &&
           doc.LoadTempFile(file);
}

// One side from its side file; null when there is none.
void Side(CJson& j, CVelmDoc& doc, const char* key, const char* file)
{
    j.Key(key);
    if (!LoadSide(doc, file)) {
        j.Null();
        return;
    }
    j.Object(nullptr, [&] {
        Tracks(j, doc.m_TrackList);
        Flashes(j, "flashes", doc.m_FlashList);
        Flashes(j, "pads2", doc.m_PadList2);
    });
}

}  // namespace

void WriteDocumentJson(CVelmDoc& doc, std::ostream& out)
{
    CJson j(out);
    j.Object(nullptr, [&] {
        j.Object("workOrder", [&] {
            j.Key("componentGerber"); j.Str(g_ComponentGerberFile);
            j.Key("componentAperture"); j.Str(g_ComponentApertureFile);
            j.Key("solderGerber"); j.Str(g_SolderGerberFile);
            j.Key("solderAperture"); j.Str(g_SolderApertureFile);
            j.Key("drill"); j.Str(g_DrillFile);
            j.Key("route"); j.Str(g_RouteFile);
            j.Key("dialect"); j.Str(g_CadDialect);
            j.Key("hasComponentSide"); j.Int(g_HasComponentSide);
            j.Key("hasSolderSide"); j.Int(g_HasSolderSide);
            j.Key("currentSide"); j.Int(g_CurrentSide);
            j.Key("dataOriginX"); j.Int(g_DataOriginX);
            j.Key("dataOriginY"); j.Int(g_DataOriginY);
        });
        j.Object("extents", [&] {
            Extent(j, "board", g_BoardMinX, g_BoardMinY, g_BoardMaxX, g_BoardMaxY);
            Extent(j, "gerber", doc.m_GerberExtent.minX, doc.m_GerberExtent.minY,
                   doc.m_GerberExtent.maxX, doc.m_GerberExtent.maxY);
            Extent(j, "drill", doc.m_DrillExtent.minX, doc.m_DrillExtent.minY,
                   doc.m_DrillExtent.maxX, doc.m_DrillExtent.maxY);
            Extent(j, "data", doc.m_DataExtent.minX, doc.m_DataExtent.minY,
                   doc.m_DataExtent.maxX, doc.m_DataExtent.maxY);
        });
        const int side = g_CurrentSide;
        Side(j, doc, "component", "top.tmp");
        Side(j, doc, "solder", "bot.tmp");
        if (side == 0 || side == 1)
            LoadSide(doc, side == 0 ? "top.tmp" : "bot.tmp");
        j.Array("holes", [&] {
            for (const auto& tool : g_HoleList)
                j.Object(nullptr, [&] {
                    j.Key("tool"); j.Int(tool->toolNumber);
                    j.Key("diameter"); j.F32(tool->diameter);
                    j.Key("mode"); j.Int(tool->mode);
                    j.Array("points", [&] {
                        for (const auto& hole : tool->holes)
                            j.Array(nullptr, [&] { j.F64(hole->x); j.F64(hole->y); });
                    });
                });
        });
        j.Array("namedLayers", [&] {
            for (const auto& layer : doc.m_NamedLayerList)
                j.Object(nullptr, [&] {
                    j.Key("name"); j.Str(layer->name);
                    Tracks(j, layer->tracks);
                    Flashes(j, "flashes", layer->flashes);
                });
        });
        j.Array("pathLayers", [&] {
            for (const auto& layer : doc.m_PathLayerList)
                j.Object(nullptr, [&] {
                    j.Key("name"); j.Str(layer->name);
                    j.Key("size"); j.F32(layer->size);
                    j.Key("depth"); j.F32(layer->depth);
                    j.Key("side"); j.Int(layer->side);
                    j.Key("kind"); j.Int(layer->kind);
                    j.Key("colour"); j.Int(static_cast<long long>(layer->colour));
                    j.Key("visible"); j.Int(layer->visible);
                    j.Array("segments", [&] {
                        for (const auto& s : layer->items)
                            j.Object(nullptr, [&] {
                                j.Key("type"); j.Int(s->type);
                                j.Key("x1"); j.F64(s->x1);
                                j.Key("y1"); j.F64(s->y1);
                                j.Key("x2"); j.F64(s->x2);
                                j.Key("y2"); j.F64(s->y2);
                                j.Key("cx"); j.F64(s->cx);
                                j.Key("cy"); j.F64(s->cy);
                                j.Key("radius"); j.F64(s->radius);
                                j.Key("value"); j.Int(s->value);
                                j.Key("flag"); j.Int(s->flag);
                            });
                    });
                });
        });
    });
    j.Flush();
    out << '\n';
}
