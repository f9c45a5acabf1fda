#include "app/failure_messages.h"

#include "app/shown_text.h"

using Ostra::String;

String launchFailedMessage(const String& program) { return shownText(program) + u" を起動できませんでした"; }

String loadFailedMessage(const String& path) { return path + u" の読み込みに失敗しました"; }

String saveFailedMessage(const String& path) { return path + u" の保存に失敗しました"; }
