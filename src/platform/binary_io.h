// Little-endian field-by-field reading and writing of the program's binary
// files. Records are never written as raw structs: each field goes through
// these so the byte layout is the documented one on any compiler.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

class CBinaryWriter {
public:
    void U8(std::uint8_t v) { m_Bytes.push_back(v); }
    void I8(std::int8_t v) { U8(static_cast<std::uint8_t>(v)); }
    void U16(std::uint16_t v);
    void I16(std::int16_t v) { U16(static_cast<std::uint16_t>(v)); }
    void U32(std::uint32_t v);
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void F32(float v);
    void F64(double v);
    void Bytes(const void* data, std::size_t size);
    void Bytes(const std::vector<std::uint8_t>& data) { Bytes(data.data(), data.size()); }
    // A fixed-width text field: the text cut to width - 1 bytes, then zeros.
    void FixedText(const std::string& text, std::size_t width);
    void Zeros(std::size_t count) { m_Bytes.insert(m_Bytes.end(), count, 0); }
    // Room for `bytes` more without growing again: a large image built in
    // one go then takes its memory once instead of doubling its way there.
    void Reserve(std::size_t bytes) { m_Bytes.reserve(m_Bytes.size() + bytes); }

    const std::vector<std::uint8_t>& Data() const { return m_Bytes; }
    std::vector<std::uint8_t>& Data() { return m_Bytes; }
    std::size_t Size() const { return m_Bytes.size(); }

    // Room for `size` bytes at the end, for a fixed image put together in
    // place (CImagePutter): one step for a record instead of one a field.
    std::uint8_t* Room(std::size_t size);

private:
    std::vector<std::uint8_t> m_Bytes;
};

// Puts the fields of a fixed image, little-endian, one after another into
// room a writer made for it.
class CImagePutter {
public:
    explicit CImagePutter(std::uint8_t* at) : m_At(at) {}
    void U8(std::uint8_t v) { *m_At++ = v; }
    void U32(std::uint32_t v)
    {
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(m_At, &v, 4);
            m_At += 4;
        } else {
            for (int i = 0; i < 4; ++i)
                *m_At++ = static_cast<std::uint8_t>(v >> (8 * i));
        }
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void F32(float v) { U32(std::bit_cast<std::uint32_t>(v)); }
    void Bytes(const void* data, std::size_t size)
    {
        std::memcpy(m_At, data, size);
        m_At += size;
    }

private:
    std::uint8_t* m_At;
};

// Takes the fields of a fixed image, little-endian, one after another from
// bytes a reader handed out whole (CBinaryReader::Image).
class CImageGetter {
public:
    explicit CImageGetter(const std::uint8_t* at) : m_At(at) {}
    void U8(std::uint8_t& v) { v = *m_At++; }
    void U32(std::uint32_t& v)
    {
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(&v, m_At, 4);
            m_At += 4;
        } else {
            v = 0;
            for (int i = 0; i < 4; ++i)
                v |= static_cast<std::uint32_t>(*m_At++) << (8 * i);
        }
    }
    void I32(std::int32_t& v)
    {
        std::uint32_t u;
        U32(u);
        v = static_cast<std::int32_t>(u);
    }
    void F32(float& v)
    {
        std::uint32_t u;
        U32(u);
        v = std::bit_cast<float>(u);
    }
    void Bytes(void* out, std::size_t size)
    {
        std::memcpy(out, m_At, size);
        m_At += size;
    }

private:
    const std::uint8_t* m_At;
};

// Reads from a byte block. Any read past the end fails, leaves its target
// unchanged and makes every later read fail too, so a caller may read a whole
// record and test Ok() once.
class CBinaryReader {
public:
    CBinaryReader() = default;
    CBinaryReader(const std::uint8_t* data, std::size_t size) : m_Data(data), m_Size(size) {}
    explicit CBinaryReader(const std::vector<std::uint8_t>& data)
        : CBinaryReader(data.data(), data.size()) {}
    virtual ~CBinaryReader() = default;

    bool U8(std::uint8_t& v);
    bool I8(std::int8_t& v);
    bool U16(std::uint16_t& v);
    bool I16(std::int16_t& v);
    bool U32(std::uint32_t& v);
    bool I32(std::int32_t& v);
    bool F32(float& v);
    bool F64(double& v);
    bool Bytes(void* out, std::size_t size);
    bool Bytes(std::vector<std::uint8_t>& out, std::size_t size);
    // A fixed-width text field: the text up to its first zero byte.
    bool FixedText(std::string& text, std::size_t width);
    bool Skip(std::size_t size);
    // The next `size` bytes whole, for a fixed image taken field by field
    // (CImageGetter): one step for a record instead of one a field. Null,
    // as for any read past the end, when fewer are left; nothing is taken
    // then.
    const std::uint8_t* Image(std::size_t size)
    {
        const std::uint8_t* at = nullptr;
        return Take(size, at) ? at : nullptr;
    }

    bool Ok() const { return m_Ok; }
    std::size_t Remaining() const { return m_Size - m_Pos + std::size_t(Beyond()); }
    bool AtEnd() const { return Remaining() == 0; }

protected:
    // Asked when a read of `size` bytes runs past the block: a reader of a
    // larger source puts the bytes not read yet and more into a new block
    // (SetBlock) and says true, or false when the source has fewer left.
    virtual bool More(std::size_t /*size*/) { return false; }
    // Bytes of the source beyond the block.
    virtual std::uint64_t Beyond() const { return 0; }
    void SetBlock(const std::uint8_t* data, std::size_t size)
    {
        m_Data = data;
        m_Size = size;
        m_Pos = 0;
    }
    const std::uint8_t* Unread() const { return m_Data + m_Pos; }
    std::size_t UnreadInBlock() const { return m_Size - m_Pos; }

private:
    // Inline for the reads that stay within the block, which are nearly all.
    bool Take(std::size_t size, const std::uint8_t*& at)
    {
        if (!m_Ok || size > m_Size - m_Pos)
            return TakeMore(size, at);
        at = m_Data + m_Pos;
        m_Pos += size;
        return true;
    }
    bool TakeMore(std::size_t size, const std::uint8_t*& at);

    const std::uint8_t* m_Data = nullptr;
    std::size_t m_Size = 0;
    std::size_t m_Pos = 0;
    bool m_Ok = true;
};

// Reads a file as CBinaryReader reads a block, holding a window of 64 kB of
// it at a time (more for one larger read): a large working file
// goes into its records without ever being whole in memory beside them.
class CFileWindowReader : public CBinaryReader {
public:
    CFileWindowReader() = default;
    ~CFileWindowReader() override;
    CFileWindowReader(const CFileWindowReader&) = delete;
    CFileWindowReader& operator=(const CFileWindowReader&) = delete;

    // False when the file cannot be opened.
    bool Open(const std::string& path);
    // A read of the file failed, or it was shorter than when it was opened.
    bool Failed() const { return m_Failed; }

protected:
    bool More(std::size_t size) override;
    std::uint64_t Beyond() const override { return m_Unread; }

private:
    static constexpr std::size_t kWindow = std::size_t(1) << 16;
    std::FILE* m_File = nullptr;
    std::vector<std::uint8_t> m_Window;
    std::uint64_t m_Unread = 0;   // bytes of the file not yet in the window
    bool m_Failed = false;
};

// Whole-file helpers. Reading fills `out` only on success; writing goes to a
// temporary file beside the target and renames it over the old one, so a
// failed write leaves the old file as it was. Both return false on failure
// with a reason in `error` when given.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out,
                   std::string* error = nullptr);
// Appends the whole file to `out`; on failure `out` is as it was.
bool AppendWholeFile(const std::string& path, std::vector<std::uint8_t>& out,
                     std::string* error = nullptr);
bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size,
                         std::string* error = nullptr);
// Whether `path` is a file its write permission keeps us from changing. A
// write never replaces such a file: it fails instead. The replaced file's
// mode, and where the system permits, its owner and group, pass to the new.
bool IsReadOnlyFile(const std::string& path);
// A file written from pieces, one after another: bytes held in memory, or
// the whole of another file copied in as it stands on disk at the time (of
// the size told beforehand: a file that no longer has it fails the write).
// A large file made mostly of other files is then never held whole.
struct CFilePiece {
    std::vector<std::uint8_t> bytes;
    std::string copyOf;   // when not empty, this file instead of `bytes`
    std::uint64_t copySize = 0;
};
bool WriteFileAtomically(const std::string& path, const std::vector<CFilePiece>& pieces,
                         std::string* error = nullptr);
inline bool WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& data,
                                std::string* error = nullptr)
{
    return WriteFileAtomically(path, data.data(), data.size(), error);
}
// The same for the program's own working files (side and undo files, the
// text windows' copies), which it rewrites anyway: replaced atomically, but
// not forced to the disk, which costs more than the write on a small job.
bool WriteWorkingFile(const std::string& path, const void* data, std::size_t size,
                      std::string* error = nullptr);
inline bool WriteWorkingFile(const std::string& path, const std::vector<std::uint8_t>& data,
                             std::string* error = nullptr)
{
    return WriteWorkingFile(path, data.data(), data.size(), error);
}
// A working file written from a producer that hands its bytes to `put` in
// pieces (put says false once the write failed, and the producer may stop
// then), so a large image is never held whole. False when the producer
// said false or the write failed.
using CBytePut = std::function<bool(const void* data, std::size_t size)>;
bool WriteWorkingFileFrom(const std::string& path, const std::function<bool(const CBytePut& put)>& produce,
                          std::string* error = nullptr);
// A plain file as it stands on disk: its device and inode, size and
// modification time. A file replaced (another inode) or rewritten in place
// (another size or time) has another stamp; a rewrite in place within one
// tick of the file system's clock that keeps the size does not.
struct CFileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = -1;
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;

    bool operator==(const CFileStamp&) const = default;
    // Whether the file was modified so lately that such a rewrite may
    // still follow unseen: two seconds cover the coarsest clock.
    bool Recent() const;
};
// False, with errno ENOENT when there is no file, or 0 when it is not a
// plain file.
bool StampOf(const std::string& path, CFileStamp& stamp);

// A folder that goes with everything in it when the program ends (the
// private store of a tool run): files written inside it are replaced
// atomically as any, but not forced to the disk, as nothing in it outlives
// the program. Empty (the default) for none.
void SetScratchFolder(const std::string& dir);
