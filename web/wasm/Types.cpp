// The rules' enums and value types as the page sees them.
#include "TypeExport.h"

#include "Types.h"
#include "document/Document.h"
#include "image/FormSelections.h"
#include "link/CloneEngine.h"
#include "interaction/UserInteraction.h"
#include "settings/OptionsCodec.h"
#include "tuning/TuningEngine.h"
#include "tuning/TuningModel.h"

using emscripten::val;

val TypeCatalogue::AsValue() const {
    val out = val::object();
    val enumList = val::array();
    for (const Enum& e : enums) {
        val values = val::array();
        for (const auto& [name, value] : e.values)
            values.call<void>("push", val::array(std::vector<val>{val(name), val(value)}));
        val item = val::object();
        item.set("name", e.name);
        item.set("values", values);
        enumList.call<void>("push", item);
    }
    val objectList = val::array();
    for (const Object& o : objects) {
        val fields = val::array();
        for (const auto& [name, type] : o.fields)
            fields.call<void>("push", val::array(std::vector<val>{val(name), val(type)}));
        val item = val::object();
        item.set("name", o.name);
        item.set("fields", fields);
        objectList.call<void>("push", item);
    }
    out.set("enums", enumList);
    out.set("objects", objectList);
    return out;
}

EMSCRIPTEN_BINDINGS(ostreltz_types) {
    ExportedEnum<Buttons>("Buttons")
        .value("Ok", Buttons::Ok)
        .value("OkCancel", Buttons::OkCancel)
        .value("RetryCancel", Buttons::RetryCancel)
        .value("SaveDiscardCancel", Buttons::SaveDiscardCancel)
        .value("OverwriteCancel", Buttons::OverwriteCancel)
        .value("EmptyKeepCancel", Buttons::EmptyKeepCancel);
    ExportedEnum<Answer>("Answer")
        .value("Ok", Answer::Ok)
        .value("Cancel", Answer::Cancel)
        .value("Retry", Answer::Retry)
        .value("Save", Answer::Save)
        .value("Discard", Answer::Discard)
        .value("Keep", Answer::Keep);
    ExportedEnum<AfterAsking>("AfterAsking")
        .value("SaveFirst", AfterAsking::SaveFirst)
        .value("Go", AfterAsking::Go)
        .value("Stop", AfterAsking::Stop);
    ExportedEnum<TuningPage>("TuningPage")
        .value("None", TuningPage::None)
        .value("FrequencySet", TuningPage::FrequencySet)
        .value("Item", TuningPage::Item);
    ExportedEnum<FormBox>("FormBox")
        .value("Band", FormBox::Band)
        .value("Model", FormBox::Model)
        .value("Manual", FormBox::Manual)
        .value("PowerLevel", FormBox::PowerLevel);
    ExportedEnum<CloneOutcome>("CloneOutcome")
        .value("Completed", CloneOutcome::Completed)
        .value("Cancelled", CloneOutcome::Cancelled)
        .value("PortUnavailable", CloneOutcome::PortUnavailable)
        .value("NoLink", CloneOutcome::NoLink)
        .value("TypeRefused", CloneOutcome::TypeRefused)
        .value("ShortReply", CloneOutcome::ShortReply)
        .value("ReadAckMissing", CloneOutcome::ReadAckMissing)
        .value("WriteAckMissing", CloneOutcome::WriteAckMissing)
        .value("PortLost", CloneOutcome::PortLost)
        .value("BackupNotKept", CloneOutcome::BackupNotKept)
        .value("BackupUnfinished", CloneOutcome::BackupUnfinished);
    ExportedEnum<TuningOutcome>("TuningOutcome")
        .value("Received", TuningOutcome::Received)
        .value("Cancelled", TuningOutcome::Cancelled)
        .value("PortUnavailable", TuningOutcome::PortUnavailable);
    ExportedEnum<RowsOp>("RowsOp")
        .value("Insert", RowsOp::Insert)
        .value("Delete", RowsOp::Delete)
        .value("MoveUp", RowsOp::MoveUp)
        .value("MoveDown", RowsOp::MoveDown)
        .value("Clear", RowsOp::Clear);
    ExportedObject<OptionsValues>("OptionsValues")
        .field("timerPosition", &OptionsValues::timerPosition)
        .field("squelch", &OptionsValues::squelch)
        .field("voxGain", &OptionsValues::voxGain)
        .field("voxDelay", &OptionsValues::voxDelay)
        .field("language", &OptionsValues::language)
        .field("alarmTone", &OptionsValues::alarmTone)
        .field("scrambler", &OptionsValues::scrambler)
        .field("batterySave", &OptionsValues::batterySave)
        .field("bot", &OptionsValues::bot)
        .field("eot", &OptionsValues::eot)
        .field("voxFunction", &OptionsValues::voxFunction)
        .field("voxInhibitOnRx", &OptionsValues::voxInhibitOnRx)
        .field("ani", &OptionsValues::ani)
        .field("radioName", &OptionsValues::radioName);
    ExportedEnum<OptionsText>("OptionsText").value("Ani", OptionsText::Ani).value("RadioName", OptionsText::RadioName);
    ExportedObject<OptionsTextEdit>("OptionsTextEdit")
        .field("text", &OptionsTextEdit::text)
        .field("caret", &OptionsTextEdit::caret);
    emscripten::function("typeCatalogue",
                         emscripten::optional_override([] { return TypeCatalogue::Instance().AsValue(); }));
}
