// Writes the workbook file with libxlsxwriter. A module of its own (see kXlsxModule in
// xlsx_export.h): libxlsxwriter and the zip and crypto libraries it brings are loaded at the first
// export, not at every start of the program.

#include <map>
#include <tuple>

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <xlsxwriter.h>

#include "ui/fields.h"
#include "ui/palette.h"
#include "ui/printer.h"
#include "ui/xlsx_export.h"

namespace {

// The font Japanese spreadsheets are set in; where it is missing the spreadsheet program
// substitutes its own Japanese font.
constexpr const char* kFont = "ＭＳ Ｐゴシック";

lxw_color_t rgbOf(int colour) {
    return paletteColor(colour).rgb() & 0xFFFFFF;
}

// The grid's alignment codes count left, centre, right in threes, each top, centre, bottom; 0 is
// what the grid shows by default, left and centred.
void setAlignment(lxw_format* f, int code) {
    if (code <= 0) code = 1;
    static constexpr uint8_t across[] = {LXW_ALIGN_LEFT, LXW_ALIGN_CENTER, LXW_ALIGN_RIGHT};
    static constexpr uint8_t down[] = {LXW_ALIGN_VERTICAL_TOP, LXW_ALIGN_VERTICAL_CENTER,
                                       LXW_ALIGN_VERTICAL_BOTTOM};
    format_set_align(f, across[std::min(code / 3, 2)]);
    format_set_align(f, down[code % 3]);
}

// Formats belong to the workbook; one per look, however many cells of its sheets share it.
class Formats {
public:
    explicit Formats(lxw_workbook* wb) : wb_(wb) {}

    lxw_format* cell(const XlsxSheet& s, const XlsxCell& c) {
        const double size = c.fontSize > 0 ? c.fontSize : s.fontSize;
        return get({c.back, c.fore, c.align, size, true, s.shrinkToFit});
    }
    lxw_format* title(const XlsxTitle& t) {
        return get({colour::kWhite, colour::kBlack, t.align, t.fontSize, false, false});
    }

private:
    using Key = std::tuple<int, int, int, double, bool, bool>;
    lxw_format* get(const Key& key) {
        auto [it, added] = cache_.try_emplace(key, nullptr);
        if (!added) return it->second;
        const auto [back, fore, align, size, boxed, shrink] = key;
        lxw_format* f = workbook_add_format(wb_);
        format_set_font_name(f, kFont);
        format_set_font_size(f, size);
        if (fore != colour::kBlack) format_set_font_color(f, rgbOf(fore));
        if (back != colour::kWhite) format_set_bg_color(f, rgbOf(back));
        setAlignment(f, align);
        if (boxed) format_set_border(f, LXW_BORDER_THIN);
        if (shrink) format_set_shrink(f);
        return it->second = f;
    }

    lxw_workbook* wb_;
    std::map<Key, lxw_format*> cache_;
};

// What a worksheet's tab may be called: at most 31 characters, none of []:*?/\, and no two
// alike (as the spreadsheet programs compare them, ignoring case).
class TabNames {
public:
    QByteArray operator()(QString name) {
        static const QRegularExpression refused(QStringLiteral("[\\[\\]:*?/\\\\]"));
        name.replace(refused, QStringLiteral("_"));
        if (name.startsWith('\'') || name.endsWith('\'')) name.replace('\'', '_');
        if (name.isEmpty()) name = QStringLiteral("Sheet");
        QString unique = leftText(name, 31);
        for (int n = 2; used_.contains(unique.toCaseFolded()); ++n) {
            const QString suffix = QStringLiteral(" (%1)").arg(n);
            unique = leftText(name, 31 - suffix.size()) + suffix;
        }
        used_.insert(unique.toCaseFolded());
        return unique.toUtf8();
    }

private:
    QSet<QString> used_;
};

void writeText(lxw_worksheet* ws, int row, int col, const QString& text, lxw_format* f) {
    if (text.isEmpty())
        worksheet_write_blank(ws, row, col, f);
    else
        worksheet_write_string(ws, row, col, text.toUtf8().constData(), f);
}

void writeMerged(lxw_worksheet* ws, int row, int col, int lastRow, int lastCol, const QString& text,
                 lxw_format* f) {
    if (row == lastRow && col == lastCol)
        writeText(ws, row, col, text, f);
    else
        worksheet_merge_range(ws, row, col, lastRow, lastCol, text.toUtf8().constData(), f);
}

void fill(lxw_worksheet* ws, Formats& formats, const XlsxSheet& s) {
    const int R = s.rows(), C = s.cols();

    int top = 0;
    for (const XlsxTitle& t : s.titles) {
        worksheet_set_row(ws, top, t.fontSize * 1.6, nullptr);
        writeMerged(ws, top, 0, top, std::max(C, 1) - 1, t.text, formats.title(t));
        ++top;
    }
    // The gap between the print's header and its table.
    if (!s.titles.empty()) ++top;

    for (int c = 0; c < C && c < int(s.widths.size()); ++c)
        worksheet_set_column_pixels(ws, c, c, twipsToPixels(s.widths[c]), nullptr);
    for (int r = 0; r < R && r < int(s.heights.size()); ++r)
        if (s.heights[r] > 0) worksheet_set_row(ws, top + r, s.heights[r] / 20.0, nullptr);

    std::vector<std::vector<bool>> merged(R, std::vector<bool>(C, false));
    for (const Grid::Span& span : s.spans) {
        if (span.row < 0 || span.col < 0 || span.rows < 1 || span.cols < 1 ||
            span.row + span.rows > R || span.col + span.cols > C)
            continue;
        const XlsxCell& first = s.cells[span.row][span.col];
        writeMerged(ws, top + span.row, span.col, top + span.row + span.rows - 1,
                    span.col + span.cols - 1, first.text, formats.cell(s, first));
        for (int r = span.row; r < span.row + span.rows; ++r)
            for (int c = span.col; c < span.col + span.cols; ++c) merged[r][c] = true;
    }
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c)
            if (!merged[r][c])
                writeText(ws, top + r, c, s.cells[r][c].text, formats.cell(s, s.cells[r][c]));

    worksheet_set_paper(ws, Printer::kPaperA4);
    worksheet_set_portrait(ws);
    worksheet_set_margins(ws, 0.4, 0.4, 0.6, 0.6);
    worksheet_center_horizontally(ws);
    worksheet_fit_to_pages(ws, 1, s.onePage ? 1 : 0);
    if (s.headingRows > 0 && R > s.headingRows) {
        worksheet_repeat_rows(ws, top, top + s.headingRows - 1);
        worksheet_freeze_panes(ws, top + s.headingRows, 0);
    }
}

}  // namespace

extern "C" Q_DECL_EXPORT bool jikanwariWriteXlsx(const std::vector<XlsxSheet>* sheetList,
                                                const QString* path, const QString* folder,
                                                QString* error) {
    const std::vector<XlsxSheet>& sheets = *sheetList;
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    const QByteArray builtName = QDir::toNativeSeparators(*path).toUtf8();
    QByteArray tmpdir = QDir::toNativeSeparators(*folder).toUtf8();
    lxw_workbook_options options{};
    options.tmpdir = tmpdir.data();
    lxw_workbook* wb = workbook_new_opt(builtName.constData(), &options);
    if (!wb) return fail(QStringLiteral("ブックを作成できません"));
    const QByteArray title = sheets.empty() ? QByteArray() : sheets.front().name.toUtf8();
    lxw_doc_properties properties{};
    properties.title = const_cast<char*>(title.constData());
    workbook_set_properties(wb, &properties);
    Formats formats(wb);
    TabNames tabName;
    for (const XlsxSheet& sheet : sheets)
        fill(workbook_add_worksheet(wb, tabName(sheet.name).constData()), formats, sheet);
    if (const lxw_error e = workbook_close(wb); e != LXW_NO_ERROR)
        return fail(QString::fromUtf8(lxw_strerror(e)));
    return true;
}
