#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What the cover panel shows: nothing (no song selected), the placeholder picture named "drop"
// (songs selected, none with a picture) or the encoded bytes of the picture at the cursor,
// which the window decodes for display.
struct LeadImage {
    enum class Kind {
        None,
        Placeholder,
        Picture,
    };

    Kind kind = Kind::None;
    QByteArray data;

    static constexpr const char *PlaceholderName = "drop";

    static LeadImage none() { return {}; }
    static LeadImage placeholder() { return {Kind::Placeholder, {}}; }
    static LeadImage picture(const QByteArray &data) { return {Kind::Picture, data}; }

    bool isNone() const { return kind == Kind::None; }
    bool operator==(const LeadImage &other) const = default;
};

// "W × H px" with the pixel width and height of the encoded picture, read from its header
// without decoding the pixels (orientation not applied); nullopt when it cannot be read.
std::optional<QString> pixelSize(const QByteArray &encodedPicture);

// The size line of the cover panel: pixelSize() of the lead picture, nothing for the
// placeholder or no picture.
class LeadImage2ImageSizeTransformer {
public:
    static std::optional<QString> transformedValue(const LeadImage &leadImage);
};
