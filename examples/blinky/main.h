#ifndef MAIN_H
#define MAIN_H

#define BLINK_PERIOD_MS 1000u

void delay_ms(unsigned milliseconds);

#endif
