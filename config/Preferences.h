#pragma once
// The user's settings, kept in the plain-text file "prefs.cfg" in the
// preferences folder. One object per use: construct, loadPreferences, read
// the values; nothing is cached between commands, so a change made by one
// command takes effect at the next.
//
// The file holds four comment lines ("//" first), then for each setting a
// line with its key and a line with its value, in the order units, precison,
// textSize, textScale, textRotation, csvOpener, zoomBorder, inc. Reading
// stops at the first empty line.

#include <cstdint>
#include <string>
#include <vector>

class CPreferences {
public:
    // Every setting at its default; the file is the preferences folder's
    // "prefs.cfg" ("prefs.cfg" alone when there is no application-data folder).
    CPreferences();
    virtual ~CPreferences() = default;

    // Reads the file into this object; false, keeping the current values,
    // when the file cannot be opened. Out-of-range values are corrected as
    // they are read (see getLoadNotes).
    bool loadPreferences();
    // Writes this object to the file, creating the folder when needed; false
    // when the folder cannot be made or the file cannot be written (the
    // latter shown in an "Error - Configuration Not Saved" message box).
    bool savePreferences();

    // What the last load corrected or skipped, one text per line of the file
    // ("prefs.cfg line 7: textSize 0 is 0 or less, 0.1 used"); empty when the
    // file was clean.
    const std::vector<std::string>& getLoadNotes() const { return loadNotes_; }

    // 0 metres ("sq.m."), 1 feet ("sq.ft.").
    int32_t getUnits() const { return units_; }
    void setUnits(int32_t units) { units_ = units; }
    // Decimal places of areas written into new space blocks.
    int32_t getPrecision() const { return precision_; }
    void setPrecision(int32_t precision) { precision_ = precision; }
    // Height of new attribute text, drawing units.
    double getTextSize() const { return textSize_; }
    void setTextSize(double textSize) { textSize_ = textSize; }
    // Width factor of new attribute text.
    double getTextScale() const { return textScale_; }
    void setTextScale(double textScale) { textScale_ = textScale; }
    // Rotation of new attribute text, degrees.
    double getTextRotation() const { return textRotation_; }
    void setTextRotation(double textRotation) { textRotation_ = textRotation; }
    // Step of the next space identifier in the block creation session, 1 to 100.
    int32_t getIncrement() const { return increment_; }
    void setIncrement(int32_t increment) { increment_ = increment; }
    // Program that opens exported CSV files, or "NONE".
    std::string getCSVOpener() const { return csvOpener_; }
    void setCSVOpener(const std::string& csvOpener) { csvOpener_ = csvOpener; }
    // Zoom border distance, drawing units.
    double getZoomBorder() const { return zoomBorder_; }
    void setZoomBorder(double zoomBorder) { zoomBorder_ = zoomBorder; }
    // Where this object reads and writes.
    std::string getFilePath() const { return filePath_; }
    void setFilePath(const std::string& filePath) { filePath_ = filePath; }

    // The first comment line of the file, naming the owner of the software.
    static constexpr const char* kOwnerLine = "//\tZelka Systems - Orvane";

private:
    int32_t units_ = 0;
    int32_t precision_ = 2;
    double textSize_ = 250.0;
    double textScale_ = 1.0;
    double textRotation_ = 0.0;
    int32_t increment_ = 1;
    std::string csvOpener_ = "NONE";
    double zoomBorder_ = 1000.0;
    std::string filePath_;
    std::vector<std::string> loadNotes_;
};
