#include "csv/CsvImportFlow.h"

#include <utility>

#include "res/Texts.h"

CsvImportFlow::CsvImportFlow(std::string csv, const RadioImage& target, bool renumber)
    : m_csv(std::move(csv)), m_target(target) {
    m_options.renumber = renumber;
    Run();
}

void CsvImportFlow::Run() {
    m_image = m_target;
    m_result = ImportChannelsCsv(m_csv, m_image, m_options);
}

std::optional<Question> CsvImportFlow::Question() const {
    if (m_cancelled || m_result.refusedWhole) return std::nullopt;
    if (!m_result.problems.empty() && !m_options.applyValidLines)
        return ::Question{CsvRefusedQuestion(m_result), Buttons::OkCancel};
    if (m_result.unnamedInUse > 0 && !m_options.merge && !m_emptyingAgreed)
        return ::Question{TrFormat(TextId::CsvEmptyQuestion, {std::to_string(m_result.unnamedInUse)}),
                          Buttons::EmptyKeepCancel};
    return std::nullopt;
}

void CsvImportFlow::Reply(::Answer answer) {
    const std::optional<::Question> asked = Question();
    if (!asked) return;
    if (answer == Answer::Cancel || (answer == Answer::Keep && asked->buttons != Buttons::EmptyKeepCancel)) {
        m_cancelled = true;
        return;
    }
    if (asked->buttons == Buttons::OkCancel) {
        m_options.applyValidLines = true;
    } else if (answer == Answer::Keep) {
        m_options.merge = true;
    } else {
        m_emptyingAgreed = true;
        return;
    }
    Run();
}

std::string CsvImportFlow::Message() const {
    if (m_cancelled) return {};
    if (m_result.refusedWhole) return CsvRefusedFileText(m_result);
    return CsvImportSummary(m_result);
}
