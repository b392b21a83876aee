#include "compound_file.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <strings.h>

namespace spreadsheet::ole {

namespace {

void ignoreMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

void initialiseGsf() {
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        // libgsf reports damaged compound files on standard error besides returning its error;
        // the reader's refusal says it to the user instead.
        for (const char* domain : {"libgsf", "libgsf:msole", "libgsf:utils"}) {
            g_log_set_handler(domain, static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK), ignoreMessage, nullptr);
        }
    });
}

struct ObjectUnref {
    void operator()(void* object) const {
        if (object != nullptr) {
            g_object_unref(object);
        }
    }
};
template <typename T> using GObjectPtr = std::unique_ptr<T, ObjectUnref>;

struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};

// Compound files smaller than this threshold keep their streams in the mini stream; workbook
// streams are padded up to it so that every reader finds the workbook in regular sectors, where
// Excel itself always has it.
constexpr std::size_t kMiniStreamCutoff = 4096;

} // namespace

bool hasSignature(std::string_view file) {
    static constexpr unsigned char kSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    return file.size() >= sizeof kSignature && std::memcmp(file.data(), kSignature, sizeof kSignature) == 0;
}

WorkbookStream readWorkbookStream(std::string_view file) {
    initialiseGsf();
    WorkbookStream result;
    GObjectPtr<GsfInput> input(
        gsf_input_memory_new(reinterpret_cast<const guint8*>(file.data()), static_cast<gsf_off_t>(file.size()), FALSE));
    if (!input) {
        return result;
    }
    GError* rawError = nullptr;
    GObjectPtr<GsfInfile> root(gsf_infile_msole_new(input.get(), &rawError));
    std::unique_ptr<GError, ErrorFree> error(rawError);
    if (!root) {
        return result;
    }
    int children = gsf_infile_num_children(root.get());
    int workbook = -1;
    bool encryptedPackage = false;
    for (int i = 0; i < children; ++i) {
        const char* name = gsf_infile_name_by_index(root.get(), i);
        if (name == nullptr) {
            continue;
        }
        if (strcasecmp(name, "Workbook") == 0 || (workbook < 0 && strcasecmp(name, "Book") == 0)) {
            workbook = i;
        } else if (strcasecmp(name, "EncryptedPackage") == 0 || strcasecmp(name, "EncryptionInfo") == 0) {
            encryptedPackage = true;
        }
    }
    if (workbook < 0) {
        result.content = encryptedPackage ? Content::Encrypted : Content::NoWorkbook;
        return result;
    }
    GObjectPtr<GsfInput> stream(gsf_infile_child_by_index(root.get(), workbook));
    if (!stream) {
        return result;
    }
    gsf_off_t size = gsf_input_size(stream.get());
    if (size < 0 || static_cast<std::size_t>(size) > file.size()) {
        return result;
    }
    result.stream.resize(static_cast<std::size_t>(size));
    if (size > 0 && gsf_input_read(stream.get(), static_cast<std::size_t>(size),
                                   reinterpret_cast<guint8*>(result.stream.data())) == nullptr) {
        result.stream.clear();
        return result;
    }
    result.content = Content::Workbook;
    return result;
}

std::string writeWorkbookFile(std::string_view stream) {
    initialiseGsf();
    GObjectPtr<GsfOutput> sink(gsf_output_memory_new());
    GObjectPtr<GsfOutfile> root(gsf_outfile_msole_new(sink.get()));
    if (!root) {
        throw std::runtime_error("gsf_outfile_msole_new failed");
    }
    GObjectPtr<GsfOutput> child(gsf_outfile_new_child(root.get(), "Workbook", FALSE));
    if (!child) {
        throw std::runtime_error("gsf_outfile_new_child failed");
    }
    bool written = gsf_output_write(child.get(), stream.size(), reinterpret_cast<const guint8*>(stream.data()));
    if (written && stream.size() < kMiniStreamCutoff) {
        std::string padding(kMiniStreamCutoff - stream.size(), '\0');
        written = gsf_output_write(child.get(), padding.size(), reinterpret_cast<const guint8*>(padding.data()));
    }
    written = gsf_output_close(child.get()) && written;
    written = gsf_output_close(GSF_OUTPUT(root.get())) && written;
    if (!gsf_output_is_closed(sink.get())) {
        written = gsf_output_close(sink.get()) && written;
    }
    if (!written) {
        throw std::runtime_error("writing the compound file failed");
    }
    const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
    gsf_off_t size = gsf_output_size(sink.get());
    if (bytes == nullptr || size <= 0) {
        throw std::runtime_error("the compound file is empty");
    }
    return std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
}

} // namespace spreadsheet::ole
