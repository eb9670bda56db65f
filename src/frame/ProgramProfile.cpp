#include "frame/ProgramProfile.h"

#include "frame/ScreenFlow.h"

namespace kavoret::progselbas {

void applyIdentity(ProfileState& profile) {
    profile.programTitle = QStringLiteral("Kavoret");
    profile.productPageUrl = QStringLiteral("https://www.morvenda.jp/MorvendaSoft/kavoret.htm");
    profile.catalogueNumber = kCatalogueNumber;
    profile.catalogueNumberList = QStringLiteral("801_802_803_804_805_806_807_808_809_810");
    profile.levelCount = kLevelCount;
}

void applyLevels(ProfileState& profile) {
    profile.levelCountAtLogin = profile.levelCount;
    const char16_t* const builtIn[] = {u"abc", u"ABC", u"Abc", u"word"};
    for (int level = 1; level <= 4; ++level) {
        profile.levelNames[level] = QString::fromUtf16(builtIn[level - 1]);
        profile.levelDefined[level] = 1;
    }
    for (int level = 1; level <= 12; ++level) {
        if (profile.levelNames[level].isEmpty())
            profile.levelNames[level] = QString::number(level) + QStringLiteral("ﾚﾍﾞﾙ");
    }
}

void applyLevelsAndOpenBoard(ProfileState& profile, ScreenFlow& flow) {
    applyLevels(profile);
    flow.showBoard();
}

} // namespace kavoret::progselbas
