// One company moved end to end through the upgrade run: source and target DATA folders in a temporary folder,
// rows inserted into the source, the run started as the operator starts it, the target queried afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "FbTestDb.h"
#include "ScriptedOperator.h"
#include "app/run/Upgrade.h"
#include "db/DataModule.h"

namespace stocktest {

using namespace testsupport;

// A target row by column name.
using Row = std::map<std::string, db::Value>;

class CompanyRun : public ::testing::Test {
protected:
    static constexpr int kYear = 2004;

    void SetUp() override {
        dst = tmp / "SELVANTO5/DATA";
        makeSelvantoData(dst);
        up.options.DrHedef = dst;
        up.options.Edit1 = "Ayşe Yılmaz";
        up.options.CheckCARI = false;  // customer cards are not the subject here
        up.options.CheckSTOK = true;
        up.options.CheckSTBK = true;
        up.options.CheckSTGR = false;
        up.options.CheckOTEL = false;
    }

    std::string targetDb() const { return dst + "/ABC/" + std::to_string(kYear) + "/Mirkado.FDB"; }
    std::string templateDb() const { return dst + "/DBBackup/Mirkado.Fdb"; }

    void runCompleted() {
        ASSERT_EQ(up.Button1Click(), app::RunResult::Completed) << op.allMessages();
    }

    // Every row of `table` matching `where`, ordered by `order`, with the named columns.
    std::vector<Row> select(const std::string& table, const std::vector<std::string>& columns,
                            const std::string& where = "", const std::string& order = "") const {
        std::string list;
        for (const auto& c : columns) list += (list.empty() ? "" : ", ") + c;
        auto raw = query(targetDb(), "SELECT " + list + " FROM " + table + (where.empty() ? "" : " WHERE " + where) +
                                         (order.empty() ? "" : " ORDER BY " + order));
        std::vector<Row> out;
        for (const auto& r : raw) {
            Row row;
            for (std::size_t i = 0; i < columns.size(); ++i) row[columns[i]] = r[i];
            out.push_back(row);
        }
        return out;
    }

    TempDir tmp;
    std::string dst;
    db::TDM dm;
    ScriptedOperator op;
    app::Upgrade up{dm, op};
};

// The InterBase source: company ABC of Sirket.GDB, its MIRKADO.GDB filled by the test.
class MirkadoRun : public CompanyRun {
protected:
    void SetUp() override {
        CompanyRun::SetUp();
        src = tmp / "MIRKADO4/DATA";
        makeMirkadoData(src, {"ABC"});
        execSql(src + "/Sirket.GDB",
                "INSERT INTO SIRKET (BLSIRKETKODU, KISAAD, TICARIUNVAN, SIRKETKODU, CALISMAYILI) "
                "VALUES (1, 'Firma', 'Firma A.S.', 'ABC', " + std::to_string(kYear) + ")");
        up.options.RadioSURUM = 0;
        up.options.DKaynak = src;
    }
    std::string sourceDb() const { return src + "/ABC/MIRKADO.GDB"; }
    void source(const std::string& sql) { execSql(sourceDb(), sql); }

    std::string src;
};

}  // namespace stocktest
