// Little-endian encoding and the whole-file helpers.
#include "platform/binary_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

void CBinaryWriter::U16(std::uint16_t v)
{
    CImagePutter out(Room(2));
    out.U8(static_cast<std::uint8_t>(v));
    out.U8(static_cast<std::uint8_t>(v >> 8));
}

void CBinaryWriter::U32(std::uint32_t v) { CImagePutter(Room(4)).U32(v); }

void CBinaryWriter::F32(float v) { U32(std::bit_cast<std::uint32_t>(v)); }

std::uint8_t* CBinaryWriter::Room(std::size_t size)
{
    const std::size_t at = m_Bytes.size();
    m_Bytes.resize(at + size);
    return m_Bytes.data() + at;
}

void CBinaryWriter::F64(double v)
{
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    U32(static_cast<std::uint32_t>(bits));
    U32(static_cast<std::uint32_t>(bits >> 32));
}

void CBinaryWriter::Bytes(const void* data, std::size_t size)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    m_Bytes.insert(m_Bytes.end(), p, p + size);
}

void CBinaryWriter::FixedText(const std::string& text, std::size_t width)
{
    if (width == 0)
        return;
    std::size_t n = std::min(text.size(), width - 1);
    Bytes(text.data(), n);
    Zeros(width - n);
}

bool CBinaryReader::TakeMore(std::size_t size, const std::uint8_t*& at)
{
    if (!m_Ok || !More(size)) {
        m_Ok = false;
        return false;
    }
    at = m_Data + m_Pos;
    m_Pos += size;
    return true;
}

bool CBinaryReader::U8(std::uint8_t& v)
{
    const std::uint8_t* p;
    if (!Take(1, p))
        return false;
    v = p[0];
    return true;
}

bool CBinaryReader::I8(std::int8_t& v)
{
    std::uint8_t u;
    if (!U8(u))
        return false;
    v = static_cast<std::int8_t>(u);
    return true;
}

bool CBinaryReader::U16(std::uint16_t& v)
{
    const std::uint8_t* p;
    if (!Take(2, p))
        return false;
    v = static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    return true;
}

bool CBinaryReader::I16(std::int16_t& v)
{
    std::uint16_t u;
    if (!U16(u))
        return false;
    v = static_cast<std::int16_t>(u);
    return true;
}

bool CBinaryReader::U32(std::uint32_t& v)
{
    const std::uint8_t* p;
    if (!Take(4, p))
        return false;
    v = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    return true;
}

bool CBinaryReader::I32(std::int32_t& v)
{
    std::uint32_t u;
    if (!U32(u))
        return false;
    v = static_cast<std::int32_t>(u);
    return true;
}

bool CBinaryReader::F32(float& v)
{
    std::uint32_t bits;
    if (!U32(bits))
        return false;
    std::memcpy(&v, &bits, sizeof v);
    return true;
}

bool CBinaryReader::F64(double& v)
{
    const std::uint8_t* p;
    if (!Take(8, p))
        return false;
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | p[i];
    std::memcpy(&v, &bits, sizeof v);
    return true;
}

bool CBinaryReader::Bytes(void* out, std::size_t size)
{
    const std::uint8_t* p;
    if (!Take(size, p))
        return false;
    if (size)
        std::memcpy(out, p, size);
    return true;
}

bool CBinaryReader::Bytes(std::vector<std::uint8_t>& out, std::size_t size)
{
    const std::uint8_t* p;
    if (!Take(size, p))
        return false;
    out.assign(p, p + size);
    return true;
}

bool CBinaryReader::FixedText(std::string& text, std::size_t width)
{
    const std::uint8_t* p;
    if (!Take(width, p))
        return false;
    std::size_t n = 0;
    while (n < width && p[n] != 0)
        ++n;
    text.assign(reinterpret_cast<const char*>(p), n);
    return true;
}

bool CBinaryReader::Skip(std::size_t size)
{
    const std::uint8_t* p;
    return Take(size, p);
}

CFileWindowReader::~CFileWindowReader()
{
    if (m_File)
        std::fclose(m_File);
}

bool CFileWindowReader::Open(const std::string& path)
{
    m_File = std::fopen(path.c_str(), "rb");
    if (!m_File)
        return false;
    struct stat info {};
    if (fstat(fileno(m_File), &info) != 0 || !S_ISREG(info.st_mode)) {
        m_Failed = true;
        return true;
    }
    m_Unread = static_cast<std::uint64_t>(info.st_size);
    return true;
}

bool CFileWindowReader::More(std::size_t size)
{
    const std::size_t kept = UnreadInBlock();
    if (m_Failed || size - kept > m_Unread)
        return false;
    // The bytes not read yet go to the window's start, the file's next
    // bytes after them.
    if (kept)
        std::memmove(m_Window.data(), Unread(), kept);
    m_Window.resize(std::max({m_Window.size(), kWindow, size}));
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(m_Window.size() - kept, m_Unread));
    const std::size_t n = std::fread(m_Window.data() + kept, 1, want, m_File);
    m_Unread -= n;
    if (n < want) {
        m_Failed = true;
        m_Unread = 0;
    }
    SetBlock(m_Window.data(), kept + n);
    return kept + n >= size;
}

static void SetError(std::string* error, const std::string& what, const std::string& path)
{
    if (error)
        *error = what + " " + path + ": " + std::strerror(errno);
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out, std::string* error)
{
    std::vector<std::uint8_t> data;
    if (!AppendWholeFile(path, data, error))
        return false;
    out.swap(data);
    return true;
}

bool AppendWholeFile(const std::string& path, std::vector<std::uint8_t>& out, std::string* error)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        SetError(error, "cannot open", path);
        return false;
    }
    const std::size_t start = out.size();
    // Read straight into room of the file's size; a file that grows
    // meanwhile is read on to its end all the same.
    struct stat info {};
    std::size_t room = 65536;
    if (fstat(fileno(f), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
        room = static_cast<std::size_t>(info.st_size) + 1;
    std::size_t used = start;
    for (;;) {
        if (out.size() < used + room)
            out.resize(used + room);
        const std::size_t n = std::fread(out.data() + used, 1, out.size() - used, f);
        used += n;
        if (n == 0 || std::feof(f) || std::ferror(f))
            break;
        room = 65536;
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    out.resize(failed ? start : used);
    if (failed) {
        SetError(error, "cannot read", path);
        return false;
    }
    return true;
}

namespace {

// The file a path finally names: a symbolic link is followed (relative links
// from their own folder), so writing replaces the target and keeps the link.
std::string FollowLinks(const std::string& path)
{
    namespace fs = std::filesystem;
    fs::path current = path;
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(current, ec)); ++hops) {
        fs::path target = fs::read_symlink(current, ec);
        if (ec)
            break;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return current.string();
}

// What the written file keeps of the one it replaces: its permissions
// (those of any new file, 0666 less the umask, when there is none) and its
// owner and group.
struct CReplacedFile {
    bool exists = false;
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
};

CReplacedFile ReplacedFile(const std::string& path)
{
    CReplacedFile file;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) {
        file.exists = true;
        file.mode = st.st_mode & 07777;
        file.owner = st.st_uid;
        file.group = st.st_gid;
        return file;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    file.mode = 0666 & ~mask;
    return file;
}


// What a copy hands the disk at a time when the file is to be forced there.
constexpr std::size_t kWritingPiece = std::size_t(1) << 20;

// Writes all of `data` to `fd`; false on a write error.
bool WriteAll(int fd, const std::uint8_t* p, std::size_t left)
{
    while (left > 0) {
        ssize_t written = ::write(fd, p, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        p += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

// Copies the whole of `path`, which must hold exactly `size` bytes, to `fd`:
// by the kernel where it can, which spares the copy through this program's
// memory, else through a buffer. With `startWriting` (a file that is forced
// to disk when it is whole) the disk is set writing each piece as it is
// copied, so that most of the writing is done by the time it is forced.
bool CopyFileTo(int fd, const std::string& path, std::uint64_t size, std::string* error,
                bool startWriting)
{
    const int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        SetError(error, "cannot open", path);
        return false;
    }
    std::uint64_t copied = 0;
    bool ok = true;
    bool byKernel = true;
    std::vector<std::uint8_t> buffer;
    for (;;) {
        ssize_t n = -1;
        if (byKernel) {
            // One byte more than is left: a file that grew is caught.
            const std::size_t left = static_cast<std::size_t>(size - std::min(copied, size)) + 1;
            n = ::copy_file_range(in, nullptr, fd, nullptr, startWriting ? std::min(left, kWritingPiece) : left, 0);
            if (n > 0 && startWriting)
                ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
            if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL) && copied == 0) {
                byKernel = false;
                continue;
            }
        } else {
            if (buffer.empty())
                buffer.resize(1 << 16);
            n = ::read(in, buffer.data(), buffer.size());
            if (n > 0 && !WriteAll(fd, buffer.data(), static_cast<std::size_t>(n)))
                n = -1;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        copied += static_cast<std::uint64_t>(n);
        if (copied > size) {
            ok = false;
            break;
        }
    }
    ::close(in);
    ok = ok && copied == size;
    if (!ok)
        SetError(error, "cannot copy", path);
    return ok;
}

// The folder SetScratchFolder names, made on first use: a tool names it
// before the program's other static objects are made.
std::string& ScratchFolder()
{
    static std::string folder;
    return folder;
}

bool InScratchFolder(const std::string& path)
{
    const std::string& folder = ScratchFolder();
    return !folder.empty() && path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '/';
}

// Writes a file through a temporary beside it, which `fill` fills, and
// renames it over the old one.
template <class Fill>
bool WriteReplacing(const std::string& linkPath, const Fill& fill, std::string* error, bool durable)
{
    const std::string path = FollowLinks(linkPath);
    const CReplacedFile replaced = ReplacedFile(path);
    if (replaced.exists && IsReadOnlyFile(path)) {
        errno = EACCES;
        SetError(error, "read-only, not replaced:", path);
        return false;
    }
    std::string temp = path + ".tmp-XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        SetError(error, "cannot create", temp);
        return false;
    }
    if (!fill(fd, temp)) {
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    }
    // mkstemp makes the file private and ours: give it the mode, and where
    // we may (another user's file saved over by an administrator), the
    // owner it replaces.
    if (replaced.exists && (replaced.owner != ::geteuid() || replaced.group != ::getegid()) &&
        ::fchown(fd, replaced.owner, replaced.group) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), replaced.group);
    ::fchmod(fd, replaced.mode);
    if ((durable && !InScratchFolder(path) && ::fsync(fd) != 0) || ::close(fd) != 0) {
        SetError(error, "cannot write", temp);
        ::unlink(temp.c_str());
        return false;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        SetError(error, "cannot replace", path);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool WriteReplacing(const std::string& linkPath, const void* data, std::size_t size,
                    std::string* error, bool durable)
{
    auto fill = [&](int fd, const std::string& temp) {
        if (WriteAll(fd, static_cast<const std::uint8_t*>(data), size))
            return true;
        SetError(error, "cannot write", temp);
        return false;
    };
    return WriteReplacing(linkPath, fill, error, durable);
}

}  // namespace

bool IsReadOnlyFile(const std::string& path)
{
    const std::string target = FollowLinks(path);
    struct stat st;
    if (::stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    // The system lets an administrator write anything: a file is read-only
    // to one as its listing shows it (no write bit for its owner, or for
    // anyone when it is another user's).
    if (::geteuid() == 0)
        return !(st.st_mode & (st.st_uid == 0 ? S_IWUSR : S_IWUSR | S_IWGRP | S_IWOTH));
    return ::access(target.c_str(), W_OK) != 0;
}

bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size,
                         std::string* error)
{
    return WriteReplacing(path, data, size, error, true);
}

bool WriteFileAtomically(const std::string& path, const std::vector<CFilePiece>& pieces,
                         std::string* error)
{
    const bool forced = !InScratchFolder(FollowLinks(path));
    auto fill = [&](int fd, const std::string& temp) {
        for (const CFilePiece& piece : pieces) {
            if (!piece.copyOf.empty()) {
                if (!CopyFileTo(fd, piece.copyOf, piece.copySize, error, forced))
                    return false;
            } else if (!WriteAll(fd, piece.bytes.data(), piece.bytes.size())) {
                SetError(error, "cannot write", temp);
                return false;
            }
        }
        return true;
    };
    return WriteReplacing(path, fill, error, true);
}

void SetScratchFolder(const std::string& dir)
{
    std::string& folder = ScratchFolder();
    folder = dir;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
}

bool WriteWorkingFile(const std::string& path, const void* data, std::size_t size,
                      std::string* error)
{
    return WriteReplacing(path, data, size, error, false);
}

bool WriteWorkingFileFrom(const std::string& path, const std::function<bool(const CBytePut& put)>& produce,
                          std::string* error)
{
    auto fill = [&](int fd, const std::string& temp) {
        bool written = true;
        const CBytePut put = [&](const void* data, std::size_t size) {
            written = written && WriteAll(fd, static_cast<const std::uint8_t*>(data), size);
            return written;
        };
        if (produce(put) && written)
            return true;
        SetError(error, "cannot write", temp);
        return false;
    };
    return WriteReplacing(path, fill, error, false);
}

bool CFileStamp::Recent() const
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec - seconds < 2;
}

bool StampOf(const std::string& path, CFileStamp& stamp)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    if (!S_ISREG(info.st_mode)) {
        errno = 0;
        return false;
    }
    stamp = {std::uint64_t(info.st_dev), std::uint64_t(info.st_ino), std::int64_t(info.st_size),
             std::int64_t(info.st_mtim.tv_sec), std::int64_t(info.st_mtim.tv_nsec)};
    return true;
}
