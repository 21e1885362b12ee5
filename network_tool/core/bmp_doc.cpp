#include "bmp_doc.h"

#include <algorithm>
#include <fstream>
#include <system_error>
#include <unordered_map>

#include "catalog.h"
#include "model_file.h"
#include "text_scan.h"

namespace combra {

CBMPDoc::CBMPDoc(MessageSink* sink, DocumentObserver* observer)
    : sink_(sink), observer_(observer) {}

CBMPDoc::~CBMPDoc() = default;

void CBMPDoc::Message(const std::string& text) {
    if (sink_) sink_->ShowMessage(text);
}

bool CBMPDoc::LoadCatalog(const std::filesystem::path& catalogFile) {
    bool opened = false;
    catalog_ = ReadCatalog(catalogFile, sink_, &opened);
    return opened;
}

const BmpCatalogEntry* CBMPDoc::CatalogEntry(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= catalog_.size()) return nullptr;
    return &catalog_[static_cast<std::size_t>(index)];
}

BmpNode* CBMPDoc::AddNode(int x, int y) {
    auto node = std::make_unique<BmpNode>();
    node->x = x;
    node->y = y;
    nodes_.push_back(std::move(node));
    return nodes_.back().get();
}

void CBMPDoc::RemoveNodeAt(std::size_t index) {
    if (index >= nodes_.size()) return;
    BmpNode* gone = nodes_[index].get();
    for (auto& node : nodes_) {
        if (node->downstream == gone) {
            node->downstream = nullptr;
            node->linkSelected = false;
        }
    }
    // The ordered and outlet lists and upstream lists are scratch of the last
    // calculation; drop them so that nothing points at the deleted node.
    ordered_.clear();
    outlets_.clear();
    for (auto& node : nodes_) node->upstream.clear();
    nodes_.erase(nodes_.begin() + static_cast<std::ptrdiff_t>(index));
}

int CBMPDoc::IndexOf(const BmpNode* node) const {
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i].get() == node) return static_cast<int>(i);
    }
    return -1;
}

void CBMPDoc::DeleteContents() {
    ordered_.clear();
    outlets_.clear();
    nodes_.clear();
}

bool CBMPDoc::OnNewDocument() {
    DeleteContents();
    pathName_.clear();
    modified_ = false;
    loopFound_ = false;
    if (observer_) observer_->NetworkCleared();
    return true;
}

bool CBMPDoc::OnOpenDocument(const std::filesystem::path& path) {
    // The file is opened before anything is deleted, so a file that cannot be opened
    // leaves the current network as it was.
    std::ifstream in(path, std::ios::binary);
    std::error_code ec;
    if (!in || std::filesystem::is_directory(path, ec)) {
        Message("Cannot open file " + path.string() + " for reading");
        lastOpen_ = OpenStatus::kCannotOpen;
        return false;
    }

    NodeList read;
    std::string line;
    std::string badLine;
    bool lineError = false;
    while (detail::ReadLine(in, line)) {
        if (detail::TrimLeft(line).empty()) break;
        auto node = ParseNodeLine(line);
        if (!node) {
            lineError = true;
            badLine = line;
            break;
        }
        read.push_back(std::make_unique<BmpNode>(std::move(*node)));
    }
    in.close();

    DeleteContents();
    nodes_ = std::move(read);
    loopFound_ = false;

    if (lineError) {
        // Keep what was read, without links, but detach the document from the file: a
        // later Save must not replace the complete file with the shorter network.
        Message("Line reading error: " + badLine);
        lastOpen_ = OpenStatus::kLineError;
        pathName_.clear();
        modified_ = true;
        if (observer_) observer_->NetworkLoaded();
        return true;
    }

    // Links: the first node carrying the downstream id.
    std::unordered_map<std::int32_t, BmpNode*> byId;
    byId.reserve(nodes_.size());
    for (auto& node : nodes_) byId.emplace(node->id, node.get());
    for (auto& node : nodes_) {
        if (node->downstreamId < 0) continue;
        auto it = byId.find(node->downstreamId);
        if (it != byId.end()) node->downstream = it->second;
    }

    lastOpen_ = OpenStatus::kOpened;
    pathName_ = path;
    modified_ = false;
    if (observer_) observer_->NetworkLoaded();
    return true;
}

bool CBMPDoc::OnSaveDocument(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path target = path;
    if (std::filesystem::is_symlink(target, ec)) {
        auto resolved = std::filesystem::canonical(target, ec);
        if (!ec) target = resolved;
    }
    const std::string cannotOpen = "Cannot open file " + path.string() + " for writing";

    // An existing file must be writable, as when it is opened for writing in place.
    if (std::filesystem::exists(target, ec)) {
        std::ofstream probe(target, std::ios::binary | std::ios::app);
        if (!probe || std::filesystem::is_directory(target, ec)) {
            Message(cannotOpen);
            return false;
        }
    }

    // Written beside the target and renamed over it, so that a failed write leaves the
    // previous file intact.
    std::filesystem::path temp = target;
    temp += ".tmp";
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
        Message(cannotOpen);
        return false;
    }

    for (std::size_t i = 0; i < nodes_.size(); ++i) nodes_[i]->id = static_cast<std::int32_t>(i);
    for (auto& node : nodes_) node->downstreamId = node->downstream ? node->downstream->id : -1;

    std::string buffer;
    buffer.reserve(1 << 16);
    for (const auto& node : nodes_) {
        buffer += FormatNodeLine(*node);
        if (buffer.size() >= (1 << 16) - 128) {
            out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            buffer.clear();
        }
    }
    out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    out.close();
    if (!out) {
        std::filesystem::remove(temp, ec);
        Message("Cannot write file " + path.string());
        return false;
    }
    std::filesystem::rename(temp, target, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        Message("Cannot write file " + path.string());
        return false;
    }
    pathName_ = path;
    modified_ = false;
    return true;
}

}  // namespace combra
