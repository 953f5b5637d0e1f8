#include "core/close_question.h"

#include "core/app_context.h"

namespace {

constexpr int SaveQuestionKey = 172;
constexpr const char* SaveQuestionEnglish = "Do you want to save your changes?";

} // namespace

bool OfferToSave(AppContext& ctx, const std::function<bool(bool askName)>& save, const std::string& title) {
    if (ctx.project.ProjectModified != -1) return true;
    // Before any language was loaded the question is the English one.
    const std::string& text = ctx.shell.UiText[SaveQuestionKey];
    switch (ctx.dialogs.messageBox(text.empty() ? SaveQuestionEnglish : text, MsgButtons::YesNoCancel,
                                   MsgIcon::Question, title)) {
    case MsgChoice::No:
        return true;
    case MsgChoice::Yes:
        return save && save(true);
    default:
        return false;
    }
}
