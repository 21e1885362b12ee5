// The Combra document: the network of BMP nodes, the catalogue, the model input file
// (".inp") and the combined-efficiency calculation. No user-interface code: the host
// receives messages through a MessageSink and view notifications through a DocumentObserver.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bmp_node.h"
#include "message_sink.h"

namespace combra {

class CBMPDoc {
public:
    using NodeList = std::vector<std::unique_ptr<BmpNode>>;

    // Document template string of the model input file.
    static constexpr const char* kDocString =
        "Combra\nModel Input File\n\nModel Input File(*.inp)\n.inp\nModel Input\nModel Input";
    // Command id of "Calculate the combined coefficient(s)".
    static constexpr int kCalculateCommand = 32772;

    enum class OpenStatus {
        kNone,        // nothing opened yet
        kOpened,      // every line read, links resolved
        kCannotOpen,  // file could not be opened; the previous network is untouched
        kLineError,   // a line did not parse; the nodes before it were kept, without links
    };

    // Neither pointer is owned; either may be null (messages are then dropped).
    explicit CBMPDoc(MessageSink* sink = nullptr, DocumentObserver* observer = nullptr);
    ~CBMPDoc();
    CBMPDoc(const CBMPDoc&) = delete;
    CBMPDoc& operator=(const CBMPDoc&) = delete;

    void SetMessageSink(MessageSink* sink) { sink_ = sink; }
    void SetObserver(DocumentObserver* observer) { observer_ = observer; }

    // ---- catalogue -------------------------------------------------------------------
    // Reads the catalogue file (normally CatalogPath(program folder)), replacing the
    // current catalogue. On failure shows the message and leaves the catalogue empty.
    bool LoadCatalog(const std::filesystem::path& catalogFile);
    const std::vector<BmpCatalogEntry>& Catalog() const { return catalog_; }
    void SetCatalog(std::vector<BmpCatalogEntry> entries) { catalog_ = std::move(entries); }
    // The entry at `index`, or null when the index is out of range.
    const BmpCatalogEntry* CatalogEntry(int index) const;

    // ---- network ---------------------------------------------------------------------
    // Every node of the network in creation/file order. A node's `downstream` must be a
    // node of this list: remove nodes with RemoveNodeAt (or clear their links first).
    NodeList& Nodes() { return nodes_; }
    const NodeList& Nodes() const { return nodes_; }
    // Nodes without downstream node, and nodes in calculation order; rebuilt by Calculate.
    const std::vector<BmpNode*>& Outlets() const { return outlets_; }
    const std::vector<BmpNode*>& Ordered() const { return ordered_; }

    // Appends a node with default values centred at (x, y).
    BmpNode* AddNode(int x, int y);
    // Removes and deletes the node at `index`; links pointing at it are cleared.
    void RemoveNodeAt(std::size_t index);
    // Position of `node` in the node list, or -1.
    int IndexOf(const BmpNode* node) const;
    // Empties the ordered and outlet lists and deletes every node.
    void DeleteContents();

    // ---- file commands ---------------------------------------------------------------
    // New: deletes the network (the catalogue stays), becomes untitled and unmodified.
    bool OnNewDocument();
    // Open: reads a model input file. False only when the file cannot be opened, and then
    // the previous network stays as it was. A line that does not parse is reported
    // ("Line reading error: " + line); the nodes before it are kept without links, and the
    // document becomes untitled and modified so that saving asks for a name instead of
    // overwriting the file with the shorter network. See LastOpenStatus.
    bool OnOpenDocument(const std::filesystem::path& path);
    // Save: writes the model input file, renumbering ids to list positions first.
    // On success the document takes that path and becomes unmodified.
    bool OnSaveDocument(const std::filesystem::path& path);
    OpenStatus LastOpenStatus() const { return lastOpen_; }

    // Path of the file the document belongs to; empty when untitled.
    const std::filesystem::path& PathName() const { return pathName_; }
    void SetPathName(std::filesystem::path path) { pathName_ = std::move(path); }
    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified = true) { modified_ = modified; }

    // ---- calculation -----------------------------------------------------------------
    // Orders the network and computes total and combined efficiencies of every node.
    // Returns false when a loop was found ("CIRCLE!" is shown); nodes on a loop keep
    // their previous results, every other node is computed.
    bool Calculate();
    // Handler of the Calculate command.
    void OnCalculate() { Calculate(); }
    // Whether the last calculation found a loop.
    bool LoopFound() const { return loopFound_; }

private:
    void Message(const std::string& text);

    NodeList nodes_;
    std::vector<BmpNode*> outlets_;
    std::vector<BmpNode*> ordered_;
    std::vector<BmpCatalogEntry> catalog_;
    MessageSink* sink_ = nullptr;
    DocumentObserver* observer_ = nullptr;
    std::filesystem::path pathName_;
    bool modified_ = false;
    bool loopFound_ = false;
    OpenStatus lastOpen_ = OpenStatus::kNone;
};

}  // namespace combra
