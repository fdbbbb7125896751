// tarelog-cli dump FILE: the whole diary as one line of JSON.
//
// The diary is streamed: records are read a chunk at a time and their JSON
// goes into one large buffer that is written out whenever it fills, so the
// memory used is the same for ten records and for ten million. Every check
// of the file's contents is made before the first byte is printed; only a
// read failing part way through can leave the output cut short (with an
// error on stderr and exit status 1).
#include "cli/commands.h"
#include "cli/synced_diary.h"
#include "cli/verb_preamble.h"

#include "diary/diary_json.h"
#include "diary/diary_stream.h"

#include <cstdio>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace {

// Large enough that writing costs a few system calls per megabyte.
constexpr std::size_t kOutputBufferSize = std::size_t{1} << 20;

// A buffer in front of stdout that is filled in place.
class JsonOutput {
public:
    JsonOutput()
        : m_buffer(kOutputBufferSize)
        , m_end(m_buffer.data())
    {
    }

    // Room for `size` more bytes (at most the buffer's size), flushing
    // first when the buffer lacks it.
    char* Reserve(std::size_t size)
    {
        if (static_cast<std::size_t>(m_buffer.data() + m_buffer.size() - m_end) < size)
            Flush();
        return m_end;
    }
    void Commit(char* end) { m_end = end; }

    void Append(std::string_view text)
    {
        if (text.size() > m_buffer.size()) {
            Flush();
            Write(text.data(), text.size());
            return;
        }
        char* at = Reserve(text.size());
        std::memcpy(at, text.data(), text.size());
        m_end = at + text.size();
    }

    // False once any write to stdout has failed.
    bool Flush()
    {
        Write(m_buffer.data(), static_cast<std::size_t>(m_end - m_buffer.data()));
        m_end = m_buffer.data();
        return !m_failed;
    }
    bool Failed() const { return m_failed; }

private:
    void Write(const char* data, std::size_t size)
    {
        if (!m_failed && std::fwrite(data, 1, size, stdout) != size)
            m_failed = true;
    }

    std::vector<char> m_buffer;
    char* m_end;
    bool m_failed = false;
};

} // namespace

const VerbTable& DumpTable()
{
    static const VerbTable table{
        .synopsis = "FILE",
        .description = "Prints the diary FILE as JSON on stdout: version, unit, digits and every\n"
                       "record in file order (date, year, month, day, weight, reserved bytes).\n",
        .operands = {{.files = "tlg"}},
    };
    return table;
}

int RunDump(const std::vector<std::string>& args)
{
    ParsedArguments parsed;
    if (const auto stop = StartVerb(DumpTable(), "dump", args, parsed))
        return *stop;
    if (parsed.operands.size() != 1)
        return UsageError("dump", "give exactly one diary FILE");
    DiaryStream stream;
    if (const Status<DiaryFileError> opened = stream.Open(parsed.operands[0]); !opened)
        return ReportFailure(opened.error());
    MentionConflictCopies(parsed.operands[0]);
    JsonOutput out;
    out.Append(DiaryJsonHead(stream.Version(), stream.Unit(), stream.Digits()));
    bool first = true;
    while (!out.Failed()) {
        const Result<std::span<const WeightRecord>, DiaryFileError> chunk = stream.NextChunk();
        if (!chunk) {
            out.Flush();
            std::fflush(stdout);
            return ReportFailure(chunk.error());
        }
        if (chunk->empty())
            break;
        for (const WeightRecord& record : *chunk) {
            char* at = out.Reserve(1 + kMaxJsonRecordSize);
            if (!first)
                *at++ = ',';
            out.Commit(WriteJsonRecord(at, record));
            first = false;
        }
    }
    out.Append(kDiaryJsonEnd);
    if (!out.Flush() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "tarelog-cli: cannot write to standard output\n");
        return kExitFailure;
    }
    return kExitOk;
}
