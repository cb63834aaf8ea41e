#include "cli/hid_command.h"

#include "platform/json_file.h"

#include "device/hid_device.h"
#include "platform/hid/report_descriptor_parser.h"
#include "profile/json_document.h"

#include <json/value.h>

#include <cctype>
#include <cstdio>
#include <string_view>

using platform::hid::HidCollectionInfo;
using platform::hid::HidEntryInfo;

namespace {

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value & 0xFFFF);
    return text;
}

Json::Value CollectionJson(const HidCollectionInfo& collection, uint16_t number) {
    Json::Value object(Json::objectValue);
    object["collection"] = number;
    object["usage_page"] = collection.caps.usage_page;
    object["usage"] = collection.caps.usage;
    object["input_report_length"] = collection.caps.input_report_length;
    object["output_report_length"] = collection.caps.output_report_length;
    object["feature_report_length"] = collection.caps.feature_report_length;
    return object;
}

// The number the collection's path would carry: none (0) when the interface has one collection.
uint16_t DescribedNumber(const HidCollectionInfo& collection, size_t count) {
    return count > 1 ? collection.index : 0;
}

void PrintCollection(const HidCollectionInfo& collection, std::ostream& out) {
    out << "usage page " << Hex4(collection.caps.usage_page) << "  usage " << Hex4(collection.caps.usage)
        << "  input " << collection.caps.input_report_length << "  output "
        << collection.caps.output_report_length << "  feature " << collection.caps.feature_report_length
        << "\n";
}

// Descriptors are passed around as raw bytes or as hex dumps ("05 01 09 02", "0x05,0x01"): a file
// made only of hex digit pairs and separators is read as such a dump.
bool ReadHexDump(const std::string& text, std::vector<uint8_t>& bytes) {
    bytes.clear();
    size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (std::isspace(static_cast<unsigned char>(c)) || c == ',') {
            ++at;
            continue;
        }
        if (c == '0' && at + 1 < text.size() && (text[at + 1] == 'x' || text[at + 1] == 'X')) {
            at += 2;
        }
        if (at + 1 >= text.size()) {
            return false;
        }
        if (!std::isxdigit(static_cast<unsigned char>(text[at])) ||
            !std::isxdigit(static_cast<unsigned char>(text[at + 1]))) {
            return false;
        }
        bytes.push_back(static_cast<uint8_t>(std::stoi(text.substr(at, 2), nullptr, 16)));
        at += 2;
    }
    return !bytes.empty();
}

}  // namespace

void CHidCommand::PrintHelp(std::ostream& out) const {
    out << "Usage: norvikctl hid list [--json]\n"
           "       norvikctl hid describe FILE [--json]\n\n"
           "list      every HID entry of the bus in use (one per top-level collection): path, vendor id,\n"
           "          product id, interface, collection, usage page, usage and the input, output and "
           "feature\n"
           "          report lengths, as device discovery reads them (interface and collection are 0 when\n"
           "          the path carries no \"&mi_\" or \"&col\" part; an interface with one collection has "
           "none)\n"
           "describe  the same per-collection figures for a report descriptor in FILE (raw bytes, or a hex\n"
           "          dump such as \"05 01 09 02 ...\")\n"
           "--json    one JSON array of objects instead of text\n";
}

int CHidCommand::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false;
    std::vector<std::string> words;
    for (const std::string& arg : args) {
        if (arg == "--json") {
            json = true;
        } else {
            words.push_back(arg);
        }
    }
    if (words.size() == 1 && words[0] == "list") {
        return List(json, out, err);
    }
    if (words.size() == 2 && words[0] == "describe") {
        return Describe(words[1], json, out, err);
    }
    err << "norvikctl hid: expected \"list\" or \"describe FILE\"\n\n";
    PrintHelp(err);
    return kExitUsage;
}

int CHidCommand::List(bool json, std::ostream& out, std::ostream& err) {
    std::vector<HidEntryInfo> entries;
    if (backend_ == nullptr || !backend_->Enumerate(entries)) {
        err << "norvikctl hid: the " << (backend_ == nullptr ? "HID" : backend_->Name())
            << " bus cannot be listed (is udev running?)\n";
        return kExitFailure;
    }
    if (json) {
        Json::Value array(Json::arrayValue);
        for (const HidEntryInfo& entry : entries) {
            Json::Value object = CollectionJson(entry.collection, CollectionOfPath(entry.path));
            object["path"] = entry.path;
            object["vendor_id"] = entry.attributes.vendor_id;
            object["product_id"] = entry.attributes.product_id;
            object["interface"] = InterfaceOfPath(entry.path);
            array.append(object);
        }
        out << CJsonFile::StyledText(array);
        return kExitOk;
    }
    if (entries.empty()) {
        out << "No HID entries on the " << backend_->Name() << " bus.";
        if (std::string_view(backend_->Name()) == "hidraw") {
            out << " Plug a device in, or set NORVIK_SIMULATE=mouse3389 to use an emulated one.";
        }
        out << "\n";
        return kExitOk;
    }
    for (const HidEntryInfo& entry : entries) {
        out << entry.path << "\n  vendor " << Hex4(entry.attributes.vendor_id) << "  product "
            << Hex4(entry.attributes.product_id) << "  interface " << InterfaceOfPath(entry.path)
            << "  collection " << CollectionOfPath(entry.path) << "\n  ";
        PrintCollection(entry.collection, out);
    }
    return kExitOk;
}

int CHidCommand::Describe(const std::string& file, bool json, std::ostream& out, std::ostream& err) {
    // Read through the document helper, so that a huge file is refused rather than read.
    const std::string text = CJsonDocument().readjsonFile(file);
    if (text.empty()) {
        err << "norvikctl hid: cannot open \"" << file << "\" (or it is empty or over 4 MiB)\n";
        return kExitFailure;
    }
    std::vector<uint8_t> bytes;
    if (!ReadHexDump(text, bytes)) {
        bytes.assign(text.begin(), text.end());
    }
    std::vector<HidCollectionInfo> collections;
    std::string error;
    if (!platform::hid::CReportDescriptorParser::Parse(bytes, collections, &error)) {
        err << "norvikctl hid: \"" << file << "\" is not a usable report descriptor: " << error << "\n";
        return kExitFailure;
    }
    if (json) {
        Json::Value array(Json::arrayValue);
        for (const HidCollectionInfo& collection : collections) {
            array.append(CollectionJson(collection, DescribedNumber(collection, collections.size())));
        }
        out << CJsonFile::StyledText(array);
        return kExitOk;
    }
    if (collections.empty()) {
        out << "The descriptor declares no top-level collection.\n";
        return kExitOk;
    }
    for (const HidCollectionInfo& collection : collections) {
        out << "collection " << DescribedNumber(collection, collections.size()) << ": ";
        PrintCollection(collection, out);
    }
    return kExitOk;
}
