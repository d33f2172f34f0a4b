// Rates of the Paradox currency table, remembered per code while one company's customers are transferred.
#pragma once

namespace transfer::customer {

// Forgets the remembered rates; the customer transfer calls it when it opens the company's doviz.DB.
void forgetParadoxRates();

}  // namespace transfer::customer
