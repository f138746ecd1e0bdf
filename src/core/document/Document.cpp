#include "document/Document.h"

#include <utility>

std::string Document::Title() const {
    if (m_path.empty()) return Tr(TextId::Untitled);
    const std::size_t slash = m_path.find_last_of('/');
    return slash == std::string::npos ? m_path : m_path.substr(slash + 1);
}

std::optional<Question> Document::SaveQuestion() const {
    if (!IsModified()) return std::nullopt;
    return Question{TrFormat(TextId::AskSave, {Title()}), Buttons::SaveDiscardCancel, false};
}

AfterAsking Document::After(Answer answer) {
    switch (answer) {
        case Answer::Save: return AfterAsking::SaveFirst;
        case Answer::Discard: return AfterAsking::Go;
        default: return AfterAsking::Stop;
    }
}

void Document::New() { NewHolding(NewDocumentImage()); }

void Document::NewHolding(const RadioImage& image) {
    m_path.clear();
    m_stamp = {};
    m_session.Load(image);
}

OpenOutcome Document::Open(const std::string& path) {
    RadioImage image = m_session.ImageForSave();
    const SinLoadResult loaded = LoadSinFile(path, image);
    OpenOutcome opened = Take(path, loaded, image);
    if (!opened.failure && !opened.empty) m_stamp = StampOf(path);
    return opened;
}

OpenOutcome Document::Open(const std::string& name, std::string_view bytes) {
    RadioImage image = m_session.ImageForSave();
    const SinLoadResult loaded = LoadSinBytes(name, bytes, image);
    return Take(name, loaded, image);
}

OpenOutcome Document::Take(const std::string& path, const SinLoadResult& loaded, const RadioImage& image) {
    if (!loaded.ok) return OpenOutcome{loaded.error, std::nullopt, false};
    if (loaded.empty) return OpenOutcome{std::nullopt, std::nullopt, true};
    m_path = path;
    m_stamp = {};
    m_session.Load(image);
    return OpenOutcome{std::nullopt, loaded.warning, false};
}

std::optional<Question> Document::OverwriteQuestion(const std::string& path) const {
    if (m_path.empty() || path != m_path) return std::nullopt;
    const FileStamp now = StampOf(path);
    if (!now.exists || now == m_stamp) return std::nullopt;
    // Overwriting loses what the other program wrote.
    return Question{TrFormat(TextId::FileChangedOnDisk, {path}), Buttons::OverwriteCancel, true, true};
}

std::optional<Failure> Document::RefuseOwnFile(const std::string& path) const {
    if (m_path.empty() || !SameFile(path, m_path)) return std::nullopt;
    return Fail(TextId::OutputIsDocument, {path});
}

std::optional<Failure> Document::SaveAs(const std::string& path) {
    if (std::optional<Failure> failure = WriteFileAtomically(path, SaveBytes())) return failure;
    m_stamp = StampOf(path);
    Saved(path);
    return std::nullopt;
}

std::string Document::SaveBytes() const {
    const RadioImage image = m_session.ImageForSave();
    return std::string(image.begin(), image.end());
}

void Document::Saved(const std::string& name) {
    m_path = name;
    m_session.MarkSaved();
}

CsvImportFlow Document::ImportCsv(std::string csv, bool renumber) const {
    return CsvImportFlow(std::move(csv), m_session.ImageForSave(), renumber);
}

EditResult Document::Apply(const CsvImportFlow& flow) {
    if (!flow.Applied()) return {};
    return m_session.ReplaceImage(flow.Image());
}

EditResult Document::ReadReplaces(const RadioImage& radio) { return m_session.ReplaceImage(radio, true); }
