#include "core/trial/response_keys.h"

#include <gtest/gtest.h>

namespace limenta {
namespace {

TEST(ResponseKeys, NamesKeysByTheTable) {
    EXPECT_EQ(keyDisplayName(13), "ENTER");
    EXPECT_EQ(keyDisplayName(9), "TAB");
    EXPECT_EQ(keyDisplayName(32), "SPACE");
    EXPECT_EQ(keyDisplayName(8), "DELETE");
    EXPECT_EQ(keyDisplayName(127), "DELETE");
    EXPECT_EQ(keyDisplayName(29), "RIGHT");
    EXPECT_EQ(keyDisplayName(28), "LEFT");
    EXPECT_EQ(keyDisplayName(30), "UP");
    EXPECT_EQ(keyDisplayName(31), "DOWN");
    EXPECT_EQ(keyDisplayName(121), "y");
    // Control characters by name, never as an invisible character.
    EXPECT_EQ(keyDisplayName(27), "ESC");
    EXPECT_EQ(keyDisplayName(1), "CTRL+A");
    EXPECT_EQ(keyDisplayName(7), "CTRL+G");
    EXPECT_EQ(keyDisplayName(26), "CTRL+Z");
    EXPECT_EQ(keyDisplayName(0x80), "CODE 128");
    EXPECT_EQ(keyDisplayName(0x9F), "CODE 159");
    EXPECT_EQ(keyDisplayName(0xE9), "\xC3\xA9");  // é as UTF-8
    // UTF-8 at the edges of its one- to four-byte forms.
    EXPECT_EQ(keyDisplayName(0xA0), "\xC2\xA0");
    EXPECT_EQ(keyDisplayName(0x7FF), "\xDF\xBF");
    EXPECT_EQ(keyDisplayName(0x800), "\xE0\xA0\x80");
    EXPECT_EQ(keyDisplayName(0xFFFF), "\xEF\xBF\xBF");
    EXPECT_EQ(keyDisplayName(0x10000), "\xF0\x90\x80\x80");
    EXPECT_EQ(keyDisplayName(-5), "\xEF\xBF\xBD");
    // Every Unicode character is a key code, the lowest and the highest too; no surrogate.
    EXPECT_TRUE(isCharacterCode(1));
    EXPECT_TRUE(isCharacterCode(0x10FFFF));
    EXPECT_FALSE(isCharacterCode(0));
    EXPECT_FALSE(isCharacterCode(0x110000));
    EXPECT_FALSE(isCharacterCode(0xD800));
    EXPECT_FALSE(isCharacterCode(0xDFFF));
    EXPECT_TRUE(isCharacterCode(0xD7FF));
    EXPECT_TRUE(isCharacterCode(0xE000));
}

TEST(ResponseKeys, LegendShowsAnyForAnAllKeysOption) {
    EXPECT_EQ(keyLegend({121, 110, false, false}), "Success = y     Failure = n");
    EXPECT_EQ(keyLegend({13, 32, false, false}), "Success = ENTER     Failure = SPACE");
    EXPECT_EQ(keyLegend({121, 110, false, true}), "Success = y     Failure = ANY");
}

TEST(ResponseKeys, SingleKeysAnswerAndOthersAreIgnored) {
    const ResponseKeys keys{121, 110, false, false};
    EXPECT_TRUE(classifyKey('y', keys).taken);
    EXPECT_EQ(classifyKey('y', keys).answer, 1);
    EXPECT_TRUE(classifyKey('n', keys).taken);
    EXPECT_EQ(classifyKey('n', keys).answer, 0);
    EXPECT_FALSE(classifyKey('x', keys).taken);
    EXPECT_FALSE(classifyKey(13, keys).taken);
}

TEST(ResponseKeys, CapsLockDoesNotDisableLetterKeys) {
    const ResponseKeys keys{121, 110, false, false};
    EXPECT_EQ(classifyKey('Y', keys).answer, 1);
    EXPECT_TRUE(classifyKey('N', keys).taken);
    const ResponseKeys upper{'Y', 'N', false, false};
    EXPECT_EQ(classifyKey('y', upper).answer, 1);
    EXPECT_FALSE(sameKey('1', '!'));
    // The ends of the alphabet fold too; their neighbours in the code table do not.
    EXPECT_TRUE(sameKey('A', 'a'));
    EXPECT_TRUE(sameKey('a', 'A'));
    EXPECT_TRUE(sameKey('Z', 'z'));
    EXPECT_TRUE(sameKey('z', 'Z'));
    EXPECT_FALSE(sameKey('@', '`'));
    EXPECT_FALSE(sameKey('[', '{'));
    EXPECT_FALSE(sameKey('`', '@'));
    EXPECT_FALSE(sameKey('{', '['));
    // Latin-1 letters fold from À (0xC0) to Þ (0xDE), but for the multiplication sign.
    EXPECT_TRUE(sameKey(0xC0, 0xE0));
    EXPECT_TRUE(sameKey(0xDE, 0xFE));
    EXPECT_FALSE(sameKey(0xD7, 0xF7));
    EXPECT_FALSE(sameKey(0xBF, 0xDF));
}

TEST(ResponseKeys, OneKeyForBothCountsAsAFailure) {
    const KeyAnswer both = classifyKey('x', {'x', 'x', false, false});
    EXPECT_TRUE(both.taken);
    EXPECT_EQ(both.answer, 0);
}

TEST(ResponseKeys, AllKeysOptions) {
    const ResponseKeys successAll{121, 110, true, false};
    for (const int code : {13, 9, 28, 29, 30, 31, 32, int{'q'}, int{'y'}}) {
        EXPECT_EQ(classifyKey(code, successAll).answer, 1) << code;
        EXPECT_TRUE(classifyKey(code, successAll).taken);
    }
    EXPECT_EQ(classifyKey('n', successAll).answer, 0);

    const ResponseKeys failAll{121, 110, false, true};
    EXPECT_EQ(classifyKey('q', failAll).answer, 0);
    EXPECT_TRUE(classifyKey('q', failAll).taken);
    EXPECT_EQ(classifyKey('y', failAll).answer, 1);

    const ResponseKeys both{121, 110, true, true};
    EXPECT_FALSE(classifyKey('y', both).taken);
    EXPECT_FALSE(classifyKey('n', both).taken);
}

}  // namespace
}  // namespace limenta
