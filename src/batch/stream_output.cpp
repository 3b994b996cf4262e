#include "batch/stream_output.h"

#include <unistd.h>

#include <map>
#include <memory>
#include <utility>

#include "batch/batch_texts.h"
#include "core/export/provenance.h"
#include "core/export/table_export.h"
#include "core/results/results_file.h"
#include "core/run/run_stream.h"
#include "core/textio/block_writer.h"
#include "core/textio/faults.h"
#include "core/textio/scratch_folder.h"
#include "core/textio/text_writer.h"

namespace fetaldose::batch {

namespace {

// Thrown inside a save to drop the file when the run stops.
struct RunStopped {
    std::string message;
};

// A fault of the run (a data file, the sums), carried past the output's handling.
struct RunFault {
    std::exception_ptr fault;
};

// The stream, its faults marked as the run's unless they are the output's already.
StreamOutcome stream(const RunRequest& request, const RunCheck& check, const PreparePart& prepare,
                     const StreamOptions& options) {
    try {
        return streamTables(request, check, prepare, options);
    } catch (const OutputFault&) {
        throw;
    } catch (...) {
        throw RunFault{std::current_exception()};
    }
}

// A step that writes the output: its faults are the output's.
template <typename Write>
void writing(Write write) {
    try {
        write();
    } catch (...) {
        throw OutputFault{std::current_exception()};
    }
}

// Output bytes made on a worker, and where the progress stands once they are written.
struct Written {
    long long tables = 0;
    unsigned long long bytes = 0;
};

// The stream's steps that write made bytes in order and tell the progress.
TakePart writeBlocks(std::shared_ptr<FilledBlocks> blocks, TextWriter& out, Written& written,
                     ProgressLine& progress) {
    return [blocks = std::move(blocks), &out, &written, &progress](const RunPart& part) {
        writing([&] { blocks->writeTo(out); });
        written.tables += part.tables->tableCount();
        written.bytes += blocks->size();
        progress.update(part.nuclide + 1, written.tables, written.bytes);
    };
}

void requireComplete(const StreamOutcome& outcome) {
    if (!outcome.complete) throw RunStopped{outcome.stopMessage};
}

void writeResultsStream(TextWriter& out, const RunRequest& request, const RunCheck& check,
                        ProgressLine& progress) {
    Written written;
    progress.stage(kProgressWriting, static_cast<int>(request.selection.nuclides.size()));
    const auto prepare = [&](const RunPart& part) {
        auto blocks = std::make_shared<FilledBlocks>();
        BlockWriter block(*blocks);
        writeResultsTables(block, *part.tables);
        block.flush();
        return writeBlocks(std::move(blocks), out, written, progress);
    };
    requireComplete(stream(request, check, prepare, {}));
    out.flush();
}

// The CSV's head names every file's digest and the number of tables, so the run is made twice:
// once to count and digest, once to write, each file's bytes then checked against their digest.
void writeCsvStream(TextWriter& out, const RunRequest& request, const RunCheck& check,
                    ProgressLine& progress) {
    const int nuclideCount = static_cast<int>(request.selection.nuclides.size());
    StreamOptions options;
    options.digests = true;

    long long counted = 0;
    progress.stage(kProgressReading, nuclideCount);
    const StreamOutcome first = stream(
        request, check,
        [&](const RunPart&) {
            return [&](const RunPart& part) {
                counted += part.tables->tableCount();
                progress.update(part.nuclide + 1, counted, 0);
            };
        },
        options);
    requireComplete(first);
    std::map<std::string, std::string> digests;
    for (const SourceFile& file : first.sources.dataFiles) digests[file.path()] = file.sha256();

    const Provenance provenance = provenanceOf(first.sources, request.selection, check.layout);
    const CsvTables csv(check.layout);
    csv.writeHead(out, provenanceLines(provenance, first.tableCount));

    Written written;
    progress.stage(kProgressWriting, nuclideCount);
    const auto prepare = [&](const RunPart& part) {
        for (const SourceFile& file : part.tables->sources().dataFiles) {
            const auto digest = digests.find(file.path());
            if (digest == digests.end() || digest->second != file.sha256())
                throw changedDuringRun(file.path());
        }
        auto blocks = std::make_shared<FilledBlocks>();
        BlockWriter block(*blocks);
        csv.writeRows(block, *part.tables);
        block.flush();
        return writeBlocks(std::move(blocks), out, written, progress);
    };
    const StreamOutcome second = stream(request, check, prepare, options);
    requireComplete(second);
    if (second.tableCount != first.tableCount) {  // only a file read otherwise makes it so
        throw RunFault{std::make_exception_ptr(changedDuringRun(request.dataDirectory))};
    }
    out.flush();
}

// The workbook's provenance comes last, so one run serves; the rows go to the library's files
// on the calling thread while the workers make the next nuclides.
void writeXlsxStream(const std::string& path, const RunRequest& request, const RunCheck& check,
                     ProgressLine& progress) {
    XlsxTables workbook(check.layout);
    long long tables = 0;
    StreamOptions options;
    options.digests = true;
    progress.stage(kProgressWriting, static_cast<int>(request.selection.nuclides.size()));
    const StreamOutcome outcome = stream(
        request, check,
        [&](const RunPart&) {
            return [&](const RunPart& part) {
                writing([&] { workbook.writeRows(*part.tables); });
                tables += part.tables->tableCount();
                progress.update(part.nuclide + 1, tables, 0);
            };
        },
        options);
    requireComplete(outcome);
    progress.say(kProgressPacking);
    const Provenance provenance = provenanceOf(outcome.sources, request.selection, check.layout);
    workbook.finish(path, provenanceLines(provenance, outcome.tableCount));
}

void writeTo(OutputFormat format, const std::string& path, const RunRequest& request,
             const RunCheck& check, ProgressLine& progress) {
    switch (format) {
        case OutputFormat::Xlsx:
            writeXlsxStream(path, request, check, progress);
            return;
        case OutputFormat::Csv:
            saveTextFile(path,
                         [&](TextWriter& out) { writeCsvStream(out, request, check, progress); });
            return;
        case OutputFormat::ResultsFile:
        case OutputFormat::Pdf:
            saveTextFile(
                path, [&](TextWriter& out) { writeResultsStream(out, request, check, progress); });
            return;
    }
}

}  // namespace

StreamedOutput writeStreamed(OutputFormat format, const std::string& outFile,
                             const RunRequest& request, const RunCheck& check,
                             ProgressLine& progress) {
    StreamedOutput streamed;
    try {
        if (outFile != "-") {
            writeTo(format, outFile, request, check, progress);
        } else {
            // Standard output takes the finished output only: it is made in full in a
            // scratch file first, so a run that stops or fails puts nothing there.
            const ScratchFolder scratch("fetaldose-batch");
            const std::string file =
                scratch.path() + "/output" + std::string(outputFormatInfo(format).extension);
            writeTo(format, file, request, check, progress);
            progress.finish();
            TextWriter out(STDOUT_FILENO, "-");
            copyFileTo(file, out);
            out.flush();
        }
    } catch (const RunStopped& stopped) {
        progress.finish();
        streamed.stopMessage = stopped.message;
        return streamed;
    } catch (const RunFault& fault) {
        progress.finish();
        std::rethrow_exception(fault.fault);
    } catch (const OutputFault&) {
        progress.finish();
        throw;
    } catch (const Fault&) {
        progress.finish();
        throw OutputFault{std::current_exception()};
    }
    progress.finish();
    streamed.complete = true;
    return streamed;
}

}  // namespace fetaldose::batch
