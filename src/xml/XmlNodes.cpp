#include "xml/XmlNodes.hpp"

namespace MyXML {

void WriteNode(std::ostream& out, const NodeRef& node) {
    if (node) {
        node->Write(out);
    } else {
        out << "NULL@0";
    }
}

void Element::Write(std::ostream& out) const {
    out << '<' << m_strName;
    for (const auto& [strName, strValue] : m_attributes) {
        out << ' ' << strName << "=\"" << strValue << '"';
    }
    if (m_children.empty()) {
        out << "/>";
        return;
    }
    out << '>';
    for (const NodeRef& child : m_children) {
        WriteNode(out, child);
    }
    out << "</" << m_strName << '>';
}

void Element::AddChild(const ElementRef& self, NodeRef child) {
    if (child) {
        child->m_parent = Quolib::WeakRef<Element>(self);
    }
    self->m_children.push_back(std::move(child));
}

std::pair<ElementRef, std::size_t> Element::FindChildElement(std::string_view strName,
                                                             std::size_t nFrom) const {
    for (std::size_t i = nFrom; i < m_children.size(); ++i) {
        const NodeRef& child = m_children[i];
        if (child && child->TypeCode() == kElementNode) {
            ElementRef element = Quolib::RefCast<Element>(child);
            if (element->Name() == strName) {
                return {element, i};
            }
        }
    }
    return {ElementRef(), m_children.size()};
}

void Element::AddAttribute(std::string strName, std::string strValue) {
    m_attributes.emplace_back(std::move(strName), std::move(strValue));
}

std::optional<std::string> Element::Attribute(std::string_view strName) const {
    for (const auto& [strKey, strValue] : m_attributes) {
        if (strKey == strName) {
            return strValue;
        }
    }
    return std::nullopt;
}

void Document::Write(std::ostream& out) const {
    for (const NodeRef& node : m_prolog) {
        WriteNode(out, node);
    }
    WriteNode(out, m_root);
    for (const NodeRef& node : m_epilog) {
        WriteNode(out, node);
    }
}

}  // namespace MyXML
