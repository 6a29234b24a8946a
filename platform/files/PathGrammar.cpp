// The grammar of Windows paths: forms, components and the full path as text.

#include "platform/files/PathGrammar.h"

#include "platform/files/PathText.h"

namespace {

std::u16string_view WithoutLongPathPrefix(std::u16string_view path, bool& unc) {
    unc = false;
    if (path.substr(0, 4) != u"\\\\?\\") {
        return path;
    }
    path.remove_prefix(4);
    if (path.size() >= 4 && n_Platform::UpperLetter(path[0]) == u'U' && n_Platform::UpperLetter(path[1]) == u'N' &&
        n_Platform::UpperLetter(path[2]) == u'C' && n_Platform::IsSeparator(path[3])) {
        unc = true;
        path.remove_prefix(4);
    }
    return path;
}

n_Platform::e_PathForm FormOf(std::u16string_view text) {
    using n_Platform::e_PathForm;
    if (text.size() >= 2 && n_Platform::IsSeparator(text[0]) && n_Platform::IsSeparator(text[1])) {
        return e_PathForm::UNC;
    }
    if (text.size() >= 2 && n_Platform::IsDriveLetter(text[0]) && text[1] == u':') {
        return e_PathForm::DRIVE;
    }
    if (text[0] == u'/') {
        return e_PathForm::POSIX;
    }
    return text[0] == u'\\' ? e_PathForm::ROOTED : e_PathForm::RELATIVE;
}

} // namespace

namespace n_Platform {

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

char16_t UpperLetter(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool IsDriveLetter(char16_t c) {
    const char16_t upper = UpperLetter(c);
    return upper >= u'A' && upper <= u'Z';
}

bool ReadPathSyntax(std::u16string_view text, s_PathSyntax& syntax) {
    bool unc = false;
    text = WithoutLongPathPrefix(text, unc);
    if (text.empty()) {
        return false;
    }
    syntax = {unc ? e_PathForm::UNC : FormOf(text), 0, text};
    if (syntax.m_Form == e_PathForm::UNC && !unc) {
        syntax.m_Rest = text.substr(2);
    } else if (syntax.m_Form == e_PathForm::DRIVE) {
        syntax.m_Letter = text[0];
        syntax.m_Rest = text.substr(2);
    }
    return true;
}

void AppendComponents(std::u16string_view text, s_FullPath& path) {
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSeparator(text[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && !IsSeparator(text[i])) {
            ++i;
        }
        const std::u16string_view part = text.substr(start, i - start);
        if (part.empty() || part == u".") {
            continue;
        }
        if (part == u"..") {
            if (!path.m_Components.empty()) {
                path.m_Components.pop_back();
            }
            continue;
        }
        path.m_Components.emplace_back(part);
    }
    if (!text.empty()) {
        path.m_Trailing = IsSeparator(text.back());
    }
}

s_FullPath ReadUncPath(std::u16string_view text) {
    s_FullPath path;
    path.m_Kind = e_RootKind::UNC;
    path.m_Root = u"\\\\";
    for (int part = 0; part < 2 && !text.empty(); ++part) {
        std::size_t end = 0;
        while (end < text.size() && !IsSeparator(text[end])) {
            ++end;
        }
        path.m_Root += (part == 1 ? u"\\" : u"");
        path.m_Root += text.substr(0, end);
        text.remove_prefix(end < text.size() ? end + 1 : end);
    }
    AppendComponents(text, path);
    return path;
}

std::string JoinLinux(const std::vector<std::u16string>& components) {
    std::string text;
    for (const std::u16string& component : components) {
        text += '/';
        text += ToUtf8(component);
    }
    return text;
}

std::u16string FormatFullPath(const s_FullPath& path) {
    const char16_t separator = path.m_Kind == e_RootKind::POSIX ? u'/' : u'\\';
    std::u16string text = path.m_Root;
    for (const std::u16string& component : path.m_Components) {
        text += separator;
        text += component;
    }
    if (path.m_Components.empty() ? path.m_Kind != e_RootKind::UNC : path.m_Trailing) {
        text += separator;
    }
    return text;
}

} // namespace n_Platform
