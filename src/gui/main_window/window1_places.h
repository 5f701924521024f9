// Where each control of the main window stands, in pixels of the design: the one table the
// window is built from and its tests check.
#pragma once

#include <QRect>
#include <array>
#include <string_view>

namespace limenta {

inline constexpr int kWindow1Width = 905;
inline constexpr int kWindow1Height = 690;

struct ControlPlace {
    std::string_view name;
    QRect rect;
};

// Group boxes first: the controls drawn over them stay on top.
inline constexpr std::array kWindow1Places{
    ControlPlace{"GroupBox1", QRect(570, 13, 315, 243)},
    ControlPlace{"GroupBox3", QRect(570, 268, 116, 132)},
    ControlPlace{"GroupBox2", QRect(695, 268, 190, 132)},
    ControlPlace{"Canvas1", QRect(9, 13, 550, 387)},
    ControlPlace{"StaticText1", QRect(624, 33, 143, 20)},
    ControlPlace{"EditField1", QRect(769, 31, 60, 22)},
    ControlPlace{"StaticText3", QRect(646, 58, 121, 20)},
    ControlPlace{"EditField4", QRect(769, 56, 60, 22)},
    ControlPlace{"StaticText2", QRect(641, 84, 126, 20)},
    ControlPlace{"EditField3", QRect(769, 82, 60, 22)},
    ControlPlace{"StaticText10", QRect(580, 112, 100, 20)},
    ControlPlace{"Slider1", QRect(685, 116, 173, 16)},
    ControlPlace{"StaticText11", QRect(580, 136, 100, 20)},
    ControlPlace{"Slider2", QRect(685, 140, 173, 16)},
    ControlPlace{"StaticText12", QRect(580, 160, 100, 20)},
    ControlPlace{"Slider3", QRect(685, 164, 173, 16)},
    ControlPlace{"PushButton1", QRect(586, 198, 80, 20)},
    ControlPlace{"PushButton3", QRect(690, 198, 80, 20)},
    ControlPlace{"PushButton4", QRect(789, 198, 80, 20)},
    ControlPlace{"PopupMenu4", QRect(582, 227, 104, 20)},  // the method
    ControlPlace{"PushButton6", QRect(690, 226, 80, 20)},
    ControlPlace{"PushButton2", QRect(789, 226, 80, 20)},
    ControlPlace{"StaticText16", QRect(582, 289, 88, 24)},
    ControlPlace{"StaticText18", QRect(575, 306, 48, 20)},
    ControlPlace{"EditField7", QRect(624, 304, 40, 18)},
    ControlPlace{"StaticText17", QRect(582, 335, 101, 15)},
    ControlPlace{"StaticText19", QRect(575, 350, 48, 20)},
    ControlPlace{"EditField6", QRect(624, 350, 40, 18)},
    ControlPlace{"BevelButton1", QRect(582, 380, 82, 12)},
    ControlPlace{"PopupMenu1", QRect(707, 294, 80, 20)},
    ControlPlace{"PopupMenu2", QRect(707, 326, 80, 20)},
    ControlPlace{"PopupMenu3", QRect(707, 358, 80, 20)},
    ControlPlace{"StaticText7", QRect(795, 293, 43, 20)},
    ControlPlace{"StaticText8", QRect(795, 325, 43, 20)},
    ControlPlace{"StaticText9", QRect(795, 357, 43, 20)},
    ControlPlace{"StaticText13", QRect(838, 294, 43, 20)},
    ControlPlace{"StaticText14", QRect(838, 325, 43, 20)},
    ControlPlace{"StaticText15", QRect(838, 357, 43, 20)},
    ControlPlace{"EditField5", QRect(9, 425, 411, 20)},
    ControlPlace{"EditField2", QRect(9, 445, 411, 222)},
    ControlPlace{"StaticText6", QRect(448, 425, 437, 39)},
    ControlPlace{"StaticText5", QRect(506, 478, 337, 35)},
    ControlPlace{"StaticText4", QRect(499, 503, 337, 166)},
    ControlPlace{"StaticText20", QRect(448, 669, 437, 20)},  // the run's 95 % interval
    // Under the plot: whose run it is and how it is measured.
    ControlPlace{"PatientCaption", QRect(9, 403, 52, 20)},
    ControlPlace{"PatientField", QRect(62, 403, 150, 20)},
    ControlPlace{"SetupButton", QRect(220, 403, 62, 20)},
    ControlPlace{"SetupText", QRect(288, 403, 271, 20)},
    // Between the key legend and the caption, over the blank edges of both.
    ControlPlace{"PracticeBanner", QRect(448, 460, 437, 22)},
};

// Places that overlap by design: the caption over the big number, the distance caption
// over its "mm=" and its field, the practice banner over the key legend and the caption.
inline constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kWindow1Overlaps{{
    {"StaticText5", "StaticText4"},
    {"StaticText16", "StaticText18"},
    {"StaticText16", "EditField7"},
    {"StaticText6", "PracticeBanner"},
    {"StaticText5", "PracticeBanner"},
}};

// The place of the control named `name`; an empty rectangle for a name not in the table.
constexpr QRect placeOf(std::string_view name) {
    for (const ControlPlace& place : kWindow1Places) {
        if (place.name == name) {
            return place.rect;
        }
    }
    return {};
}

}  // namespace limenta
