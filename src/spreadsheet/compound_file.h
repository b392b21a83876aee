#pragma once

#include <string>
#include <string_view>

// The OLE2 compound file around a workbook stream, read and written with libgsf.
namespace spreadsheet::ole {

// True when the bytes begin with the compound file signature D0 CF 11 E0 A1 B1 1A E1.
bool hasSignature(std::string_view file);

enum class Content {
    Workbook,   // `stream` holds the workbook stream
    NoWorkbook, // a compound file without a workbook stream (a Word document, ...)
    Encrypted,  // an encrypted Office 2007 package (EncryptionInfo, EncryptedPackage)
    Broken,     // the compound file's structure is damaged
};

struct WorkbookStream {
    Content content = Content::Broken;
    std::string stream;
};

// The workbook stream ("Workbook", or "Book" for BIFF5) of the compound file in `file`. Never
// reads beyond the file: a stream that claims to be larger than the file is Broken.
WorkbookStream readWorkbookStream(std::string_view file);

// A compound file holding `stream` as its "Workbook" stream. Throws std::runtime_error when libgsf
// fails.
std::string writeWorkbookFile(std::string_view stream);

} // namespace spreadsheet::ole
