#pragma once
// The XML document model: a document with its prolog, root element and epilog; elements with
// their attributes and children; text, comments, directives and processing instructions. Nodes
// live on the Quolib object base: a parent holds its children through counted handles, a
// child refers to its parent only weakly, so dropping the document's last handle frees the tree.

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "xml/Quolib.hpp"

namespace MyXML {

// Node type codes.
inline constexpr int kElementNode = 1;
inline constexpr int kTextNode = 3;
inline constexpr int kProcessingInstructionNode = 7;
inline constexpr int kCommentNode = 8;  // directives too
inline constexpr int kDocumentNode = 9;

class Node;
class Element;
using NodeRef = Quolib::Ref<Node>;
using ElementRef = Quolib::Ref<Element>;

class Node {
  public:
    virtual ~Node() = default;
    virtual int TypeCode() const = 0;
    // As XML text, nothing escaped and no whitespace added.
    virtual void Write(std::ostream& out) const = 0;

    // The element that holds the node; empty for a root, a detached node, or once the parent
    // is gone.
    Quolib::Ref<Element> Parent() const { return m_parent.Lock(); }

  private:
    friend class Element;
    Quolib::WeakRef<Element> m_parent;
};

// Writes the node, or "NULL@0" for an empty handle.
void WriteNode(std::ostream& out, const NodeRef& node);

class Element : public Node {
  public:
    int TypeCode() const override { return kElementNode; }
    void Write(std::ostream& out) const override;

    const std::string& Name() const { return m_strName; }
    void SetName(std::string strName) { m_strName = std::move(strName); }

    // Appends the child and makes this element its parent. self is this element's own handle.
    static void AddChild(const ElementRef& self, NodeRef child);
    std::size_t ChildCount() const { return m_children.size(); }
    const NodeRef& Child(std::size_t nIndex) const { return m_children[nIndex]; }
    // The first child element of that name (exactly, case included) at or after nFrom, with
    // its position; empty when there is none.
    std::pair<ElementRef, std::size_t> FindChildElement(std::string_view strName,
                                                        std::size_t nFrom = 0) const;

    // Attributes keep their order and duplicates; the first of a name wins on lookup.
    void AddAttribute(std::string strName, std::string strValue);
    std::optional<std::string> Attribute(std::string_view strName) const;
    const std::vector<std::pair<std::string, std::string>>& Attributes() const {
        return m_attributes;
    }

  private:
    std::string m_strName;
    std::vector<NodeRef> m_children;
    std::vector<std::pair<std::string, std::string>> m_attributes;
};

// The nodes that are text of one kind or another.
class TextNode : public Node {
  public:
    int TypeCode() const override { return kTextNode; }
    void Write(std::ostream& out) const override { out << m_strText; }
    std::string m_strText;
};

class ProcessingInstruction : public Node {
  public:
    int TypeCode() const override { return kProcessingInstructionNode; }
    void Write(std::ostream& out) const override { out << "<?" << m_strText << "?>"; }
    std::string m_strText;
};

class Comment : public Node {
  public:
    int TypeCode() const override { return kCommentNode; }
    void Write(std::ostream& out) const override { out << "<!--" << m_strText << "-->"; }
    std::string m_strText;
};

class Directive : public Node {
  public:
    int TypeCode() const override { return kCommentNode; }
    void Write(std::ostream& out) const override { out << "<!" << m_strText << ">"; }
    std::string m_strText;
};

class Document : public Node {
  public:
    int TypeCode() const override { return kDocumentNode; }
    void Write(std::ostream& out) const override;

    std::vector<NodeRef> m_prolog;
    ElementRef m_root;
    std::vector<NodeRef> m_epilog;
};
using DocumentRef = Quolib::Ref<Document>;

// New, empty nodes; the handle holds the only reference.
template <class T>
Quolib::Ref<T> Create() {
    return Quolib::ClassOf<T>::Create();
}

}  // namespace MyXML
